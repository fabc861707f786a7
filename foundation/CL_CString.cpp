#include "foundation/CL_CString.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <string>

namespace PRIVATE_LIBRARY {

namespace {

char* Duplicate(const char* text, uint32_t length, uint32_t capacity) {
    char* buffer = new char[capacity];
    std::memcpy(buffer, text, length);
    buffer[length] = '\0';
    return buffer;
}

// One parsed conversion directive.
struct Directive {
    bool left = false;
    bool plus = false;
    bool space = false;
    bool zero = false;
    bool alternate = false;
    int width = 0;
    int precision = -1;  // -1: not given
    int lengthBits = 32;  // 64 with "w" (or l, ll, z, j); 16 or 8 with h, hh
    char letter = '\0';
};

int ParseNumber(const char*& p) {
    long long value = 0;
    while (*p >= '0' && *p <= '9') {
        if (value < 100000000) value = value * 10 + (*p - '0');
        ++p;
    }
    return static_cast<int>(value);
}

// Pads body (sign and prefix kept in front of any zero padding) to the directive's width.
void AppendPadded(std::string& out, const Directive& d, const std::string& prefix, const std::string& digits,
                  bool zeroPadAllowed) {
    const size_t bodyLength = prefix.size() + digits.size();
    const size_t width = d.width > 0 ? static_cast<size_t>(d.width) : 0;
    const size_t fill = width > bodyLength ? width - bodyLength : 0;
    if (d.left) {
        out += prefix;
        out += digits;
        out.append(fill, ' ');
    } else if (d.zero && zeroPadAllowed) {
        out += prefix;
        out.append(fill, '0');
        out += digits;
    } else {
        out.append(fill, ' ');
        out += prefix;
        out += digits;
    }
}

std::string Digits(uint64_t value, unsigned base, bool upper) {
    const char* set = upper ? "0123456789ABCDEF" : "0123456789abcdef";
    char temp[64];
    int n = 0;
    do {
        temp[n++] = set[value % base];
        value /= base;
    } while (value != 0);
    std::string result;
    result.reserve(static_cast<size_t>(n));
    while (n > 0) result += temp[--n];
    return result;
}

uint64_t TakeUnsigned(va_list& args, int bits) {
    if (bits == 64) return va_arg(args, uint64_t);
    const unsigned value = va_arg(args, unsigned);
    if (bits == 16) return static_cast<uint16_t>(value);
    if (bits == 8) return static_cast<uint8_t>(value);
    return value;
}

int64_t TakeSigned(va_list& args, int bits) {
    if (bits == 64) return va_arg(args, int64_t);
    const int value = va_arg(args, int);
    if (bits == 16) return static_cast<int16_t>(value);
    if (bits == 8) return static_cast<int8_t>(value);
    return value;
}

void FormatInteger(std::string& out, const Directive& d, va_list& args) {
    std::string prefix;
    std::string digits;
    unsigned base = 10;
    bool upper = false;
    uint64_t magnitude = 0;
    switch (d.letter) {
        case 'd': {
            const int64_t value = TakeSigned(args, d.lengthBits);
            magnitude = value < 0 ? 0 - static_cast<uint64_t>(value) : static_cast<uint64_t>(value);
            if (value < 0) prefix = "-";
            else if (d.plus) prefix = "+";
            else if (d.space) prefix = " ";
            break;
        }
        case 'u': magnitude = TakeUnsigned(args, d.lengthBits); break;
        case 'x': base = 16; magnitude = TakeUnsigned(args, d.lengthBits); break;
        case 'X': base = 16; upper = true; magnitude = TakeUnsigned(args, d.lengthBits); break;
        case 'b': base = 2; magnitude = TakeUnsigned(args, d.lengthBits); break;
        case 'B': base = 2; upper = true; magnitude = TakeUnsigned(args, d.lengthBits); break;
        default: break;
    }
    if (d.alternate && magnitude != 0 && base != 10) {
        prefix = base == 16 ? (upper ? "0X" : "0x") : (upper ? "0B" : "0b");
    }
    if (d.precision == 0 && magnitude == 0) {
        digits.clear();
    } else {
        digits = Digits(magnitude, base, upper);
        if (d.precision > 0 && digits.size() < static_cast<size_t>(d.precision)) {
            digits.insert(0, static_cast<size_t>(d.precision) - digits.size(), '0');
        }
    }
    AppendPadded(out, d, prefix, digits, d.precision < 0);
}

// Pointers: at least eight hexadecimal digits, after "0x" ("0X" for P) with "#".
void FormatPointer(std::string& out, const Directive& d, va_list& args) {
    const bool upper = d.letter == 'P';
    const uint64_t value = d.lengthBits == 64 ? va_arg(args, uint64_t)
                                              : static_cast<uint64_t>(reinterpret_cast<uintptr_t>(va_arg(args, void*)));
    std::string digits = Digits(value, 16, upper);
    if (digits.size() < 8) digits.insert(0, 8 - digits.size(), '0');
    AppendPadded(out, d, d.alternate ? (upper ? "0X" : "0x") : "", digits, true);
}

// e and f go to the C runtime as "%" flags width "." precision letter.
void FormatFloating(std::string& out, const Directive& d, va_list& args) {
    const double value = va_arg(args, double);
    std::string runtimeFormat = "%";
    if (d.left) runtimeFormat += '-';
    if (d.plus) runtimeFormat += '+';
    if (d.space) runtimeFormat += ' ';
    if (d.zero) runtimeFormat += '0';
    if (d.alternate) runtimeFormat += '#';
    if (d.width > 0) runtimeFormat += std::to_string(d.width);
    runtimeFormat += '.';
    runtimeFormat += std::to_string(d.precision < 0 ? 6 : d.precision);
    runtimeFormat += d.letter;
    char small[128];
    const int n = std::snprintf(small, sizeof(small), runtimeFormat.c_str(), value);
    if (n < 0) return;
    if (static_cast<size_t>(n) < sizeof(small)) {
        out.append(small, static_cast<size_t>(n));
        return;
    }
    std::string big(static_cast<size_t>(n) + 1, '\0');
    std::snprintf(&big[0], big.size(), runtimeFormat.c_str(), value);
    out.append(big.data(), static_cast<size_t>(n));
}

void FormatText(std::string& out, const Directive& d, va_list& args) {
    const char* text = va_arg(args, const char*);
    if (text == nullptr) text = "(null)";
    size_t length = std::strlen(text);
    if (d.precision >= 0 && length > static_cast<size_t>(d.precision)) length = static_cast<size_t>(d.precision);
    AppendPadded(out, d, "", std::string(text, length), false);
}

void FormatChar(std::string& out, const Directive& d, va_list& args) {
    const char c = static_cast<char>(va_arg(args, int));
    AppendPadded(out, d, "", std::string(1, c), false);
}

// Reads flags, width, precision and length letters after "%"; p is left on the conversion letter.
Directive ParseDirective(const char*& p) {
    Directive d;
    for (;; ++p) {
        if (*p == '-') d.left = true;
        else if (*p == '+') d.plus = true;
        else if (*p == ' ') d.space = true;
        else if (*p == '0') d.zero = true;
        else if (*p == '#') d.alternate = true;
        else break;
    }
    d.width = ParseNumber(p);
    if (*p == '.') {
        ++p;
        d.precision = ParseNumber(p);
    }
    for (;; ++p) {
        if (*p == 'w' || *p == 'l' || *p == 'z' || *p == 'j') d.lengthBits = 64;
        else if (*p == 'h') d.lengthBits = d.lengthBits == 16 ? 8 : 16;
        else break;
    }
    d.letter = *p;
    return d;
}

void FormatInto(std::string& out, const char* format, va_list& args) {
    const char* p = format;
    while (*p != '\0') {
        const char* percent = std::strchr(p, '%');
        if (percent == nullptr) {
            out += p;
            return;
        }
        out.append(p, static_cast<size_t>(percent - p));
        p = percent + 1;
        if (*p == '%') {
            out += '%';
            ++p;
            continue;
        }
        const char* start = percent;
        Directive d = ParseDirective(p);
        switch (d.letter) {
            case 'd': case 'u': case 'x': case 'X': case 'b': case 'B': FormatInteger(out, d, args); break;
            case 'p': case 'P': FormatPointer(out, d, args); break;
            case 'e': case 'f': FormatFloating(out, d, args); break;
            case 's': FormatText(out, d, args); break;
            case 'c': FormatChar(out, d, args); break;
            case '\0':
                // A directive cut off by the end of the format is kept as written.
                out.append(start, static_cast<size_t>(p - start));
                return;
            default:
                // Unknown conversions are copied unchanged and take no argument.
                out.append(start, static_cast<size_t>(p + 1 - start));
                break;
        }
        ++p;
    }
}

}  // namespace

CL_CString::CL_CString(int capacity) {
    if (capacity > 0) {
        m_buffer = new char[static_cast<uint32_t>(capacity)];
        m_buffer[0] = '\0';
        m_capacity = static_cast<uint32_t>(capacity);
    }
}

CL_CString::CL_CString(const char* text) { Set(text, -1); }

// The whole buffer is duplicated, capacity included.
CL_CString::CL_CString(const CL_CString& other) : CL_CObj(other) {
    if (other.m_capacity > 0) {
        m_buffer = new char[other.m_capacity];
        std::memcpy(m_buffer, other.m_buffer, other.m_capacity);
        m_capacity = other.m_capacity;
    }
}

CL_CString::CL_CString(CL_CString&& other) noexcept : m_buffer(other.m_buffer), m_capacity(other.m_capacity) {
    other.m_buffer = nullptr;
    other.m_capacity = 0;
}

CL_CString::~CL_CString() { delete[] m_buffer; }

CL_CString& CL_CString::operator=(const CL_CString& other) {
    if (this == &other) return *this;
    char* copy = nullptr;
    if (other.m_capacity > 0) {
        copy = new char[other.m_capacity];
        std::memcpy(copy, other.m_buffer, other.m_capacity);
    }
    Adopt(copy, other.m_capacity);
    return *this;
}

CL_CString& CL_CString::operator=(CL_CString&& other) noexcept {
    if (this == &other) return *this;
    delete[] m_buffer;
    m_buffer = other.m_buffer;
    m_capacity = other.m_capacity;
    other.m_buffer = nullptr;
    other.m_capacity = 0;
    return *this;
}

CL_CString& CL_CString::operator=(const char* text) {
    Set(text, -1);
    return *this;
}

void CL_CString::Adopt(char* buffer, uint32_t capacity) {
    delete[] m_buffer;
    m_buffer = buffer;
    m_capacity = capacity;
}

// The text may point into this string's own buffer: the new storage is filled before the old is freed.
int CL_CString::Set(const char* text, int maxLength) {
    if (text == nullptr) return 0;
    if (maxLength == 0) {
        Clear();
        return 0;
    }
    size_t length = std::strlen(text);
    if (maxLength >= 1 && length > static_cast<size_t>(maxLength)) length = static_cast<size_t>(maxLength);
    const uint32_t n = static_cast<uint32_t>(length);
    Adopt(Duplicate(text, n, n + 1), n + 1);
    return static_cast<int>(n);
}

void CL_CString::Append(const CL_CString& text) { Append(text.GetString()); }

// Storage grows geometrically so that reports built line by line stay linear.
void CL_CString::Append(const char* text) {
    if (text == nullptr || text[0] == '\0') return;
    const uint32_t oldLength = static_cast<uint32_t>(GetLength());
    const uint32_t addLength = static_cast<uint32_t>(std::strlen(text));
    const uint32_t needed = oldLength + addLength + 1;
    if (needed <= m_capacity) {
        std::memmove(m_buffer + oldLength, text, addLength);
        m_buffer[oldLength + addLength] = '\0';
        return;
    }
    uint32_t capacity = m_capacity * 2;
    if (capacity < needed) capacity = needed;
    char* buffer = new char[capacity];
    if (oldLength > 0) std::memcpy(buffer, m_buffer, oldLength);
    std::memcpy(buffer + oldLength, text, addLength);
    buffer[oldLength + addLength] = '\0';
    Adopt(buffer, capacity);
}

CL_CString CL_CString::Left(int n) const {
    CL_CString result;
    if (IsNull()) return result;
    result.Set(GetString(), n);
    return result;
}

CL_CString CL_CString::Right(int n) const {
    CL_CString result;
    const int length = GetLength();
    if (IsNull() || n <= 0) return result;
    result.Set(GetString() + (n >= length ? 0 : length - n), -1);
    return result;
}

int CL_CString::Find(const char* sub, int start, int direction) const {
    if (sub == nullptr || IsNull()) return -1;
    const int length = GetLength();
    const int subLength = static_cast<int>(std::strlen(sub));
    if (subLength > length) return -1;
    const char* text = GetString();
    if (direction == 0) {
        for (int i = start < 0 ? 0 : start; i + subLength <= length; ++i) {
            if (std::memcmp(text + i, sub, static_cast<size_t>(subLength)) == 0) return i;
        }
        return -1;
    }
    if (direction == 1) {
        const int last = length - subLength;
        for (int i = start < last ? start : last; i >= 0; --i) {
            if (std::memcmp(text + i, sub, static_cast<size_t>(subLength)) == 0) return i;
        }
        return -1;
    }
    return -1;
}

int CL_CString::GetLength() const { return m_buffer == nullptr ? 0 : static_cast<int>(std::strlen(m_buffer)); }

void CL_CString::Clear() { Adopt(nullptr, 0); }

void CL_CString::Reserve(int n) {
    Clear();
    if (n > 0) {
        m_buffer = new char[static_cast<uint32_t>(n)];
        m_buffer[0] = '\0';
        m_capacity = static_cast<uint32_t>(n);
    }
}

// Arguments may point into this string: the result is built apart and then set.
void CL_CString::Format(const char* format, ...) {
    if (format == nullptr) return;
    std::string out;
    va_list args;
    va_start(args, format);
    FormatInto(out, format, args);
    va_end(args);
    Set(out.c_str(), -1);
}

}  // namespace PRIVATE_LIBRARY
