#include "platform/CodePage936.h"

#include <iconv.h>

#include <cerrno>

namespace tavelo {

namespace {

// Owns one iconv conversion descriptor; movable, not copyable.
class IconvDescriptor {
public:
    IconvDescriptor(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
    ~IconvDescriptor() {
        if (valid()) {
            iconv_close(cd_);
        }
    }
    IconvDescriptor(const IconvDescriptor&) = delete;
    IconvDescriptor& operator=(const IconvDescriptor&) = delete;

    bool valid() const { return cd_ != reinterpret_cast<iconv_t>(-1); }
    iconv_t get() const { return cd_; }

    // Back to the initial shift state before each new conversion.
    void reset() const { iconv(cd_, nullptr, nullptr, nullptr, nullptr); }

private:
    iconv_t cd_;
};

// Descriptors are per thread: iconv keeps state in them, and opening one costs a lookup.
const IconvDescriptor& ToCodePoints() {
    thread_local IconvDescriptor cd("UTF-32LE", "CP936");
    return cd;
}

const IconvDescriptor& FromCodePoints() {
    thread_local IconvDescriptor cd("CP936", "UTF-32LE");
    return cd;
}

// Runs iconv over `in`, calling `onBadInput` with the remaining input whenever a sequence
// cannot be converted; it returns how many input bytes to skip and may append a stand-in.
template <typename Out, typename OnBad>
bool Convert(const IconvDescriptor& cd, std::string_view in, Out& out, OnBad onBadInput) {
    if (!cd.valid()) {
        return false;
    }
    cd.reset();
    char* inPtr = const_cast<char*>(in.data());
    std::size_t inLeft = in.size();
    char buffer[4096];
    while (inLeft > 0) {
        char* outPtr = buffer;
        std::size_t outLeft = sizeof buffer;
        const std::size_t rc = iconv(cd.get(), &inPtr, &inLeft, &outPtr, &outLeft);
        const int error = rc == static_cast<std::size_t>(-1) ? errno : 0;
        out.append(buffer, static_cast<std::size_t>(outPtr - buffer));
        if (error == EILSEQ || error == EINVAL) {
            const std::size_t skip = onBadInput(out, inLeft);
            inPtr += skip;
            inLeft -= skip;
            cd.reset();
        } else if (error != 0 && error != E2BIG) {
            return false;
        }
    }
    return true;
}

// Appends raw bytes to a UTF-32 result held as bytes.
struct ByteSink {
    std::string bytes;
    void append(const char* data, std::size_t size) { bytes.append(data, size); }
};

}  // namespace

std::u32string DecodeCodePage936(std::string_view bytes) {
    ByteSink sink;
    const bool ok = Convert(ToCodePoints(), bytes, sink, [](ByteSink& out, std::size_t) {
        const char32_t question = U'?';
        out.append(reinterpret_cast<const char*>(&question), sizeof question);
        return std::size_t{1};
    });
    if (!ok) {
        return {};
    }
    std::u32string result(sink.bytes.size() / sizeof(char32_t), U'\0');
    sink.bytes.copy(reinterpret_cast<char*>(result.data()), result.size() * sizeof(char32_t));
    return result;
}

std::string EncodeCodePage936(std::u32string_view codePoints) {
    const std::string_view in(reinterpret_cast<const char*>(codePoints.data()),
                              codePoints.size() * sizeof(char32_t));
    std::string result;
    const bool ok = Convert(FromCodePoints(), in, result, [](std::string& out, std::size_t left) {
        out.push_back('?');
        return left < sizeof(char32_t) ? left : sizeof(char32_t);
    });
    return ok ? result : std::string();
}

}  // namespace tavelo
