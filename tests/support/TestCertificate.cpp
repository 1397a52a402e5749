#include "TestCertificate.h"

#include <openssl/bn.h>
#include <openssl/evp.h>
#include <openssl/pem.h>
#include <openssl/rand.h>
#include <openssl/x509.h>
#include <openssl/x509v3.h>
#include <stdlib.h>

#include <memory>
#include <stdexcept>

#include "TempDir.h"

namespace tavelo::test {
namespace {

struct KeyFree {
    void operator()(EVP_PKEY* key) const { EVP_PKEY_free(key); }
};
struct CertificateFree {
    void operator()(X509* certificate) const { X509_free(certificate); }
};
struct BioFree {
    void operator()(BIO* bio) const { BIO_free(bio); }
};
struct ExtensionFree {
    void operator()(X509_EXTENSION* extension) const { X509_EXTENSION_free(extension); }
};
struct NumberFree {
    void operator()(BIGNUM* number) const { BN_free(number); }
};
using Key = std::unique_ptr<EVP_PKEY, KeyFree>;
using Certificate = std::unique_ptr<X509, CertificateFree>;

constexpr const char* kServerNames = "IP:127.0.0.1,DNS:localhost";

void Require(bool ok, const char* what) {
    if (!ok) {
        throw std::runtime_error(std::string("test certificate: ") + what);
    }
}

Key NewKey() {
    Key key(EVP_EC_gen("P-256"));
    Require(key != nullptr, "key generation");
    return key;
}

void AddExtension(X509* certificate, X509V3_CTX* context, int nid, const char* value) {
    std::unique_ptr<X509_EXTENSION, ExtensionFree> extension(
        X509V3_EXT_conf_nid(nullptr, context, nid, value));
    Require(extension != nullptr && X509_add_ext(certificate, extension.get(), -1) == 1,
            "extension");
}

enum class Role { kAuthority, kServer };

// A certificate for `subjectKey`, signed by `issuerKey` in the name of `issuer` (itself when
// null, which makes it self-signed).
Certificate MakeCertificate(EVP_PKEY* subjectKey, const char* commonName, Role role, X509* issuer,
                            EVP_PKEY* issuerKey) {
    Certificate certificate(X509_new());
    Require(certificate != nullptr, "allocation");
    X509* cert = certificate.get();
    Require(X509_set_version(cert, X509_VERSION_3) == 1, "version");

    std::unique_ptr<BIGNUM, NumberFree> serial(BN_new());
    Require(serial != nullptr && BN_rand(serial.get(), 64, BN_RAND_TOP_ANY, BN_RAND_BOTTOM_ANY),
            "serial");
    Require(BN_to_ASN1_INTEGER(serial.get(), X509_get_serialNumber(cert)) != nullptr, "serial");

    // Valid from an hour ago, so that clock differences do not matter, for a week.
    Require(X509_gmtime_adj(X509_getm_notBefore(cert), -3600) != nullptr, "validity");
    Require(X509_gmtime_adj(X509_getm_notAfter(cert), 7 * 24 * 3600) != nullptr, "validity");

    X509_NAME* subject = X509_get_subject_name(cert);
    Require(X509_NAME_add_entry_by_txt(subject, "CN", MBSTRING_ASC,
                                       reinterpret_cast<const unsigned char*>(commonName), -1, -1,
                                       0) == 1,
            "subject");
    Require(X509_set_issuer_name(cert,
                                 issuer != nullptr ? X509_get_subject_name(issuer) : subject) == 1,
            "issuer");
    Require(X509_set_pubkey(cert, subjectKey) == 1, "public key");

    X509V3_CTX context;
    X509V3_set_ctx_nodb(&context);
    X509V3_set_ctx(&context, issuer != nullptr ? issuer : cert, cert, nullptr, nullptr, 0);
    AddExtension(cert, &context, NID_subject_key_identifier, "hash");
    AddExtension(cert, &context, NID_authority_key_identifier, "keyid:always");
    if (role == Role::kAuthority) {
        AddExtension(cert, &context, NID_basic_constraints, "critical,CA:TRUE");
        AddExtension(cert, &context, NID_key_usage, "critical,keyCertSign,cRLSign");
    } else {
        AddExtension(cert, &context, NID_basic_constraints, "critical,CA:FALSE");
        AddExtension(cert, &context, NID_key_usage, "critical,digitalSignature");
        AddExtension(cert, &context, NID_ext_key_usage, "serverAuth");
        AddExtension(cert, &context, NID_subject_alt_name, kServerNames);
    }
    Require(X509_sign(cert, issuerKey, EVP_sha256()) > 0, "signature");
    return certificate;
}

std::string TakeBioText(BIO* bio) {
    char* data = nullptr;
    const long size = BIO_get_mem_data(bio, &data);
    return std::string(data, static_cast<std::size_t>(size));
}

std::string CertificatePem(X509* certificate) {
    std::unique_ptr<BIO, BioFree> bio(BIO_new(BIO_s_mem()));
    Require(bio != nullptr && PEM_write_bio_X509(bio.get(), certificate) == 1, "PEM");
    return TakeBioText(bio.get());
}

std::string KeyPem(EVP_PKEY* key) {
    std::unique_ptr<BIO, BioFree> bio(BIO_new(BIO_s_mem()));
    Require(bio != nullptr && PEM_write_bio_PrivateKey(bio.get(), key, nullptr, nullptr, 0, nullptr,
                                                       nullptr) == 1,
            "PEM");
    return TakeBioText(bio.get());
}

// The authority and the server certificate it issued, made together once.
struct TestAuthority {
    std::string certificate;
    PemCredentials server;
};

const TestAuthority& Authority() {
    static const TestAuthority authority = [] {
        Key authorityKey = NewKey();
        Certificate authorityCertificate =
            MakeCertificate(authorityKey.get(), "Tavelo Test Authority", Role::kAuthority, nullptr,
                            authorityKey.get());
        Key serverKey = NewKey();
        Certificate serverCertificate =
            MakeCertificate(serverKey.get(), "127.0.0.1", Role::kServer, authorityCertificate.get(),
                            authorityKey.get());
        return TestAuthority{CertificatePem(authorityCertificate.get()),
                             {CertificatePem(serverCertificate.get()), KeyPem(serverKey.get())}};
    }();
    return authority;
}

}  // namespace

const PemCredentials& TrustedServerCredentials() {
    return Authority().server;
}

const PemCredentials& UntrustedServerCredentials() {
    static const PemCredentials credentials = [] {
        Key key = NewKey();
        Certificate certificate =
            MakeCertificate(key.get(), "127.0.0.1", Role::kServer, nullptr, key.get());
        return PemCredentials{CertificatePem(certificate.get()), KeyPem(key.get())};
    }();
    return credentials;
}

const std::filesystem::path& TrustTestAuthority() {
    // The directory lives until the process ends and is removed with it.
    static const TempDir directory;
    static const std::filesystem::path file = [] {
        std::filesystem::path path = directory / "test-authority.pem";
        WriteFileBytes(path, Authority().certificate);
        setenv("SSL_CERT_FILE", path.c_str(), 1);
        return path;
    }();
    return file;
}

}  // namespace tavelo::test
