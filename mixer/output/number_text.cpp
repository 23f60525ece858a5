#include "mixer/output/number_text.h"

#include <climits>
#include <cmath>
#include <cstdlib>
#include <string>

#include <locale.h>

namespace mixer {

namespace {

bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}
bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// Length of the decimal number that starts at `begin` (sign, digits, fraction, exponent), or
// 0 when no digit is found before the exponent.
std::size_t decimalPrefixLength(const std::string& text, std::size_t begin) {
    std::size_t at = begin;
    if (at < text.size() && (text[at] == '+' || text[at] == '-')) {
        ++at;
    }
    std::size_t digits = 0;
    while (at < text.size() && isDigit(text[at])) {
        ++at;
        ++digits;
    }
    if (at < text.size() && text[at] == '.') {
        ++at;
        while (at < text.size() && isDigit(text[at])) {
            ++at;
            ++digits;
        }
    }
    if (digits == 0) {
        return 0;
    }
    if (at < text.size() && (text[at] == 'e' || text[at] == 'E')) {
        std::size_t exponent = at + 1;
        if (exponent < text.size() && (text[exponent] == '+' || text[exponent] == '-')) {
            ++exponent;
        }
        if (exponent < text.size() && isDigit(text[exponent])) {
            while (exponent < text.size() && isDigit(text[exponent])) {
                ++exponent;
            }
            at = exponent;
        }
    }
    return at - begin;
}

std::size_t skipBlanks(const std::string& text, std::size_t at) {
    while (at < text.size() && isBlank(text[at])) {
        ++at;
    }
    return at;
}

// Parses the number of `length` characters at `begin` in the "C" locale, whatever locale the
// process runs in; values beyond a double's range become +-HUGE_VAL or 0 as strtod makes them.
double parseDecimal(const std::string& text, std::size_t begin, std::size_t length) {
    static const locale_t cLocale = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
    const std::string number = text.substr(begin, length);
    return strtod_l(number.c_str(), nullptr, cLocale);
}

}  // namespace

double leadingDecimal(const QString& text) {
    const std::string bytes = text.toStdString();
    const std::size_t begin = skipBlanks(bytes, 0);
    const std::size_t length = decimalPrefixLength(bytes, begin);
    if (length == 0) {
        return 0.0;
    }
    const double value = parseDecimal(bytes, begin, length);
    return std::isfinite(value) ? value : 0.0;
}

int leadingInteger(const QString& text) {
    const std::string bytes = text.toStdString();
    std::size_t at = skipBlanks(bytes, 0);
    bool negative = false;
    if (at < bytes.size() && (bytes[at] == '+' || bytes[at] == '-')) {
        negative = bytes[at] == '-';
        ++at;
    }
    long long magnitude = 0;
    while (at < bytes.size() && isDigit(bytes[at])) {
        if (magnitude <= static_cast<long long>(INT_MAX) + 1) {
            magnitude = magnitude * 10 + (bytes[at] - '0');
        }
        ++at;
    }
    const long long value = negative ? -magnitude : magnitude;
    if (value > INT_MAX) {
        return INT_MAX;
    }
    if (value < INT_MIN) {
        return INT_MIN;
    }
    return static_cast<int>(value);
}

std::optional<double> wholeDecimal(const QString& text) {
    const std::string bytes = text.toStdString();
    const std::size_t begin = skipBlanks(bytes, 0);
    const std::size_t length = decimalPrefixLength(bytes, begin);
    if (length == 0 || skipBlanks(bytes, begin + length) != bytes.size()) {
        return std::nullopt;
    }
    const double value = parseDecimal(bytes, begin, length);
    if (!std::isfinite(value)) {
        return std::nullopt;
    }
    return value;
}

QString formatSixDecimals(double value) {
    return QString::asprintf("%f", value);
}

QString formatThreeDecimals(double value) {
    return QString::asprintf("%.3f", value);
}

}  // namespace mixer
