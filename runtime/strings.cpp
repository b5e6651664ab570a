#include "runtime/strings.h"

#include <vector>

#include <cctype>
#include <cstdio>
#include <cstdlib>

std::string Left(const std::string& s, int n) {
    if (n <= 0) return std::string();
    return s.substr(0, static_cast<size_t>(n));
}

std::string Right(const std::string& s, int n) {
    if (n <= 0) return std::string();
    size_t count = static_cast<size_t>(n);
    return count >= s.size() ? s : s.substr(s.size() - count);
}

std::string Mid(const std::string& s, int start, int length) {
    if (start < 1 || static_cast<size_t>(start) > s.size()) return std::string();
    if (length < 0) return s.substr(static_cast<size_t>(start - 1));
    return s.substr(static_cast<size_t>(start - 1), static_cast<size_t>(length));
}

static bool IsTrimmed(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

std::string Trim(const std::string& s) {
    size_t first = 0, last = s.size();
    while (first < last && IsTrimmed(s[first]))
        ++first;
    while (last > first && IsTrimmed(s[last - 1]))
        --last;
    return s.substr(first, last - first);
}

int InStr(const std::string& s, const std::string& needle, bool ignoreCase, int start) {
    if (start < 1) start = 1;
    if (static_cast<size_t>(start - 1) > s.size()) return 0;
    size_t pos = ignoreCase ? Upper(s).find(Upper(needle), static_cast<size_t>(start - 1))
                            : s.find(needle, static_cast<size_t>(start - 1));
    return pos == std::string::npos ? 0 : static_cast<int>(pos) + 1;
}

std::string ReplaceAll(const std::string& s, const std::string& from, const std::string& to) {
    if (from.empty()) return s;
    std::string out;
    size_t pos = 0;
    for (size_t hit; (hit = s.find(from, pos)) != std::string::npos; pos = hit + from.size())
        out.append(s, pos, hit - pos).append(to);
    return out.append(s, pos, std::string::npos);
}

std::string Upper(const std::string& s) {
    std::string out(s);
    for (char& c : out)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return out;
}

std::string Lower(const std::string& s) {
    std::string out(s);
    for (char& c : out)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return out;
}

std::string NumberText(double value) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "% .15G", value);
    return buf;
}

std::string GroupedDigits(unsigned long long value) {
    std::string digits = std::to_string(value), out;
    int fromRight = static_cast<int>(digits.size());
    for (char c : digits) {
        out += c;
        if (--fromRight > 0 && fromRight % 3 == 0) out += ',';
    }
    return out;
}

int AtoI(const std::string& s) {
    return std::atoi(s.c_str());
}

std::string MenuItemText(const std::string& s) {
    return ReplaceAll(ShortenedMiddle(s, kLongestShownLine), "&", "&&");
}

// Byte offsets of the characters of a UTF-8 text: continuation bytes are not
// starts.
static std::vector<size_t> CharacterStarts(const std::string& s) {
    std::vector<size_t> starts;
    for (size_t i = 0; i < s.size(); ++i)
        if ((static_cast<unsigned char>(s[i]) & 0xC0) != 0x80) starts.push_back(i);
    return starts;
}

std::string ShortenedMiddle(const std::string& s, size_t maxChars) {
    std::vector<size_t> starts = CharacterStarts(s);
    if (starts.size() <= maxChars || maxChars < 3) return s;
    size_t head = (maxChars - 1) / 2, tail = maxChars - 1 - head;
    return s.substr(0, starts[head]) + "\xE2\x80\xA6" + s.substr(starts[starts.size() - tail]);
}
