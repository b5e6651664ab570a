#include "search/property_match.h"

#include <windows.h>

#include <algorithm>

// UTF-8 to upper-case UTF-16 by the invariant locale's casing, which knows
// every script the system does.
static std::wstring Folded(const std::string& text) {
    if (text.empty()) return std::wstring();
    int n = MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    if (n <= 0) return std::wstring();
    std::wstring wide(n, L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), &wide[0], n);
    std::wstring upper(wide.size(), L'\0');
    if (LCMapStringW(LOCALE_INVARIANT, LCMAP_UPPERCASE, wide.data(), n, &upper[0], n) != n)
        return wide;
    return upper;
}

bool PropertiesContain(const DrawingProperties& props, const std::string& text) {
    std::wstring needle = Folded(text);
    if (needle.empty()) return true;
    auto holds = [&needle](const std::string& value) {
        return !value.empty() && Folded(value).find(needle) != std::wstring::npos;
    };
    if (std::any_of(std::begin(props.text), std::end(props.text), holds)) return true;
    for (const auto& custom : props.custom)
        if (holds(custom.first) || holds(custom.second)) return true;
    return false;
}
