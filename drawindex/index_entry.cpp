#include "drawindex/index_entry.h"

#include <windows.h>
#include <zlib.h>

namespace {

constexpr uint8_t kPictureVersion = 1;
constexpr size_t kPictureHeader = 5;
// No list cell is larger; a size beyond it is damage.
constexpr int kLargestCell = 4096;

} // namespace

std::string IndexKeyOf(const std::string& path) {
    std::string text = path;
    for (char& c : text)
        if (c == '/') c = '\\';
    if (text.compare(0, 8, "\\\\?\\UNC\\") == 0)
        text = "\\\\" + text.substr(8);
    else if (text.compare(0, 4, "\\\\?\\") == 0)
        text = text.substr(4);
    if (text.empty()) return text;
    int chars =
        MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    if (chars <= 0) return text;
    std::wstring wide(static_cast<size_t>(chars), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), &wide[0], chars);
    // One code unit at a time, as the file system's table folds names.
    CharUpperBuffW(&wide[0], static_cast<DWORD>(wide.size()));
    int bytes = WideCharToMultiByte(CP_UTF8, 0, wide.data(), chars, nullptr, 0, nullptr, nullptr);
    if (bytes <= 0) return text;
    std::string key(static_cast<size_t>(bytes), '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide.data(), chars, &key[0], bytes, nullptr, nullptr);
    return key;
}

std::string FolderKeyOf(const std::string& key) {
    size_t slash = key.rfind('\\');
    return slash == std::string::npos ? std::string() : key.substr(0, slash + 1);
}

int PropertiesVersion(const std::string& properties) {
    return properties.empty() ? -1 : static_cast<uint8_t>(properties[0]);
}

std::string EncodeCellPicture(const std::vector<uint8_t>& cell, int width, int height) {
    if (width < 1 || height < 1 || width > kLargestCell || height > kLargestCell ||
        cell.size() != static_cast<size_t>(width) * height * 4)
        return std::string();
    std::vector<uint8_t> rgb(static_cast<size_t>(width) * height * 3);
    for (size_t i = 0, n = static_cast<size_t>(width) * height; i < n; ++i) {
        rgb[i * 3] = cell[i * 4];
        rgb[i * 3 + 1] = cell[i * 4 + 1];
        rgb[i * 3 + 2] = cell[i * 4 + 2];
    }
    uLongf packed = compressBound(static_cast<uLong>(rgb.size()));
    std::string out(kPictureHeader + packed, '\0');
    out[0] = static_cast<char>(kPictureVersion);
    out[1] = static_cast<char>(width & 0xFF);
    out[2] = static_cast<char>(width >> 8);
    out[3] = static_cast<char>(height & 0xFF);
    out[4] = static_cast<char>(height >> 8);
    if (compress2(reinterpret_cast<Bytef*>(&out[kPictureHeader]), &packed, rgb.data(),
                  static_cast<uLong>(rgb.size()), Z_BEST_SPEED) != Z_OK)
        return std::string();
    out.resize(kPictureHeader + packed);
    return out;
}

bool DecodeCellPicture(const uint8_t* data, size_t size, int width, int height,
                       std::vector<uint8_t>& cell) {
    if (!data || size <= kPictureHeader || data[0] != kPictureVersion) return false;
    int w = data[1] | data[2] << 8, h = data[3] | data[4] << 8;
    if (w != width || h != height || w < 1 || h < 1 || w > kLargestCell || h > kLargestCell)
        return false;
    size_t count = static_cast<size_t>(w) * h;
    std::vector<uint8_t> rgb(count * 3);
    uLongf got = static_cast<uLongf>(rgb.size());
    if (uncompress(rgb.data(), &got, data + kPictureHeader,
                   static_cast<uLong>(size - kPictureHeader)) != Z_OK ||
        got != rgb.size())
        return false;
    cell.assign(count * 4, 0);
    for (size_t i = 0; i < count; ++i) {
        cell[i * 4] = rgb[i * 3];
        cell[i * 4 + 1] = rgb[i * 3 + 1];
        cell[i * 4 + 2] = rgb[i * 3 + 2];
    }
    return true;
}
