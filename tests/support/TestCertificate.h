// Certificates for the local test servers, made when a test first asks for one.
//
// A test certificate authority issues the server certificate for 127.0.0.1 and localhost.
// TrustTestAuthority() writes the authority's certificate to a PEM file and names it in
// SSL_CERT_FILE, which is how the HTTP client under test learns to trust it.
#pragma once

#include <filesystem>
#include <string>

namespace tavelo::test {

// A certificate with its private key, both in PEM form.
struct PemCredentials {
    std::string certificate;
    std::string privateKey;
};

// The server certificate for 127.0.0.1 and localhost, issued by the test authority.
const PemCredentials& TrustedServerCredentials();

// A self-signed certificate for the same names that no trust store holds.
const PemCredentials& UntrustedServerCredentials();

// Writes the authority's certificate to a file and sets SSL_CERT_FILE to it, once per
// process; later calls only return the path. Setting the environment is not thread-safe:
// call it before starting threads that may read the environment (HttpsTestServer's
// constructor calls it too).
const std::filesystem::path& TrustTestAuthority();

}  // namespace tavelo::test
