#include "answer/CurlEasy.h"

#include <algorithm>
#include <array>
#include <mutex>
#include <utility>

namespace tavelo {
namespace {

bool SameName(std::string_view a, std::string_view b) {
    return std::ranges::equal(a, b, [](char x, char y) {
        const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; };
        return lower(x) == lower(y);
    });
}

}  // namespace

void CurlEasy::GlobalInit() {
    static std::once_flag once;
    std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

CurlEasy::CurlEasy() {
    GlobalInit();
    handle_ = curl_easy_init();
}

CurlEasy::~CurlEasy() {
    if (handle_ != nullptr) {
        curl_easy_cleanup(handle_);
    }
}

CurlEasy::CurlEasy(CurlEasy&& other) noexcept
    : handle_(std::exchange(other.handle_, nullptr)),
      requestHeaders_(std::move(other.requestHeaders_)),
      proxyHeaders_(std::move(other.proxyHeaders_)),
      response_(std::move(other.response_)),
      maxBodyBytes_(other.maxBodyBytes_) {}

CurlEasy& CurlEasy::operator=(CurlEasy&& other) noexcept {
    if (this != &other) {
        if (handle_ != nullptr) {
            curl_easy_cleanup(handle_);
        }
        handle_ = std::exchange(other.handle_, nullptr);
        requestHeaders_ = std::move(other.requestHeaders_);
        proxyHeaders_ = std::move(other.proxyHeaders_);
        response_ = std::move(other.response_);
        maxBodyBytes_ = other.maxBodyBytes_;
    }
    return *this;
}

CurlEasy::List CurlEasy::MakeList(const std::vector<HeaderField>& fields, bool suppressOwnHeaders) {
    List list;
    const auto append = [&list](const std::string& line) {
        if (curl_slist* grown = curl_slist_append(list.get(), line.c_str())) {
            static_cast<void>(list.release());
            list.reset(grown);
        }
    };
    for (const HeaderField& field : fields) {
        // "Name;" is libcurl's way to send a header with an empty value ("Name:" would
        // remove it).
        append(field.value.empty() ? field.name + ";" : field.name + ": " + field.value);
    }
    if (suppressOwnHeaders) {
        // Headers libcurl would add by itself; "Name:" keeps each out.
        constexpr std::array<std::string_view, 3> kOwn{"Accept", "Content-Type", "Expect"};
        for (std::string_view own : kOwn) {
            if (std::ranges::none_of(
                    fields, [&](const HeaderField& field) { return SameName(field.name, own); })) {
                append(std::string(own) + ":");
            }
        }
    }
    return list;
}

void CurlEasy::SetRequestHeaders(const std::vector<HeaderField>& fields) {
    requestHeaders_ = MakeList(fields, true);
    Set(CURLOPT_HTTPHEADER, requestHeaders_.get());
}

void CurlEasy::SetProxyHeaders(const std::vector<HeaderField>& fields) {
    proxyHeaders_ = MakeList(fields, false);
    Set(CURLOPT_HEADEROPT, CURLHEADER_SEPARATE);
    Set(CURLOPT_PROXYHEADER, proxyHeaders_.get());
}

const char* CurlEasy::DefaultCertificateDirectory() {
    char* directory = nullptr;
    if (curl_easy_getinfo(handle_, CURLINFO_CAPATH, &directory) != CURLE_OK) {
        return nullptr;
    }
    return directory;
}

std::size_t CurlEasy::OnBody(char* data, std::size_t size, std::size_t count, void* self) {
    auto& easy = *static_cast<CurlEasy*>(self);
    const std::size_t bytes = size * count;
    // Counting as the bytes arrive also catches bodies that announce no length.
    if (bytes > easy.maxBodyBytes_ - easy.response_.body.size()) {
        return 0;  // anything but `bytes` aborts the transfer
    }
    easy.response_.body.append(data, bytes);
    return bytes;
}

std::size_t CurlEasy::OnHeader(char* data, std::size_t size, std::size_t count, void* self) {
    auto& easy = *static_cast<CurlEasy*>(self);
    const std::size_t bytes = size * count;
    const std::string_view line(data, bytes);
    if (line.starts_with("HTTP/")) {
        // A new response begins (after a redirect, an interim reply or a proxy's CONNECT
        // answer): only the final one's headers are kept.
        easy.response_.headers.clear();
    } else if (line != "\r\n" && line != "\n") {
        easy.response_.headers.append(line);
    }
    return bytes;
}

CurlEasy::Response CurlEasy::Perform(std::size_t maxBodyBytes) {
    response_ = {};
    maxBodyBytes_ = maxBodyBytes;
    Set(CURLOPT_WRITEFUNCTION, &CurlEasy::OnBody);
    Set(CURLOPT_WRITEDATA, this);
    Set(CURLOPT_HEADERFUNCTION, &CurlEasy::OnHeader);
    Set(CURLOPT_HEADERDATA, this);
    response_.ok = curl_easy_perform(handle_) == CURLE_OK;
    if (!response_.ok) {
        response_.headers.clear();
        response_.body.clear();
    }
    return std::move(response_);
}

}  // namespace tavelo
