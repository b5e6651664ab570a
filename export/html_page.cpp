#include "export/html_page.h"

#include <windows.h>

#include "filelist/listing_rules.h"
#include "runtime/strings.h"

namespace {

const char kSite[] = "https://www.korvex.example/";
const char kGeneratorLine[] = "<!--Created with Korvex-->";
const char kImageSource[] = "<img border=\"0\" src=\"";
// A message box taller than the screen hides its buttons: long lists are cut.
const size_t kNamesAsked = 20;

void Line(std::string& out, int indent, const std::string& text) {
    out.append(static_cast<size_t>(indent), ' ');
    out += text;
    out += '\n';
}

// The grid's cell width for 3 or 4 files per row.
const char* CellWidth(int layout) {
    return layout == 3 ? "33%" : "25%";
}

} // namespace

std::string CharsetOfCodePage(unsigned codePage) {
    if (codePage == 65001) return "utf-8";
    if (codePage == 1252) return "iso-8859-1";
    return "windows-" + std::to_string(codePage);
}

HtmlPageWriter::HtmlPageWriter(const HtmlPageOptions& options)
    : options_(options), face_(HtmlEscape(options.font)) {}

void HtmlPageWriter::Begin(std::string& out) {
    Line(out, 0, "<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.01 Transitional//EN\">");
    Line(out, 0, "<html>");
    Line(out, 0, "<head>");
    Line(out, 2,
         "<meta http-equiv=\"Content-Type\" Content=\"text/html; charset=" +
             HtmlEscape(options_.charset) + "\">");
    Line(out, 2, "<meta name=\"Generator\" content=\"Korvex\">");
    Line(out, 2, "<title>" + HtmlEscape(options_.title) + "</title>");
    Line(out, 0, "</head>");
    Line(out, 0, "<body>");

    const std::string font = "<font face=\"" + face_ + "\">";
    const std::string header = HtmlEscape(options_.header);
    if (options_.layout == 1) {
        Line(out, 0, "<table border=\"1\" cellspacing=\"0\" cellpadding=\"2\" width=\"100%\">");
        if (options_.showHeader) {
            int shown = 0;
            for (bool on : options_.show)
                shown += on ? 1 : 0;
            Line(out, 2, "<tr>");
            Line(out, 4,
                 "<th colspan=\"" + std::to_string(shown) + "\">" + font + header + "</font></th>");
            Line(out, 2, "</tr>");
        }
        static const char* const kHeadings[6] = {"Preview", "Filename", "Version",
                                                 "Size",    "Modified", "Attributes"};
        Line(out, 2, "<tr>");
        for (int i = 0; i < 6; ++i)
            if (options_.show[i]) Line(out, 4, "<th>" + font + kHeadings[i] + "</font></th>");
        Line(out, 2, "</tr>");
    } else {
        Line(out, 0,
             "<table align=\"center\" border=\"1\" cellspacing=\"0\" cellpadding=\"2\" "
             "width=\"100%\">");
        if (options_.showHeader) {
            Line(out, 2, "<tr>");
            Line(out, 4,
                 "<th colspan=\"" + std::to_string(options_.layout) + "\">" + font + header +
                     "</font></th>");
            Line(out, 2, "</tr>");
        }
        Line(out, 2, "<tr>");
        cell_ = 1;
    }
}

void HtmlPageWriter::AddFile(const HtmlPageFile& file, std::string& out) {
    if (options_.layout == 1)
        AddTableRow(file, out);
    else
        AddGridCell(file, out);
}

void HtmlPageWriter::AddTableRow(const HtmlPageFile& file, std::string& out) const {
    const std::string font = "<font face=\"" + face_ + "\">";
    const std::string href = "<a href=\"" + HtmlEscape(file.url) + "\">";
    const std::string name = HtmlEscape(file.name);
    Line(out, 2, "<tr>");
    if (options_.show[0]) {
        if (!file.image.empty())
            Line(out, 4,
                 "<td width=\"1\" align=\"center\">" + href + "<img border=\"0\" src=\"" +
                     HtmlEscape(UrlPathEscape(file.image)) + "\" alt=\"" + name + "\"></a></td>");
        else
            Line(out, 4,
                 "<td align=\"center\">" + font + href + "<b>No Preview</b></a></font></td>");
    }
    if (options_.show[1]) {
        std::string said;
        if (!file.title.empty()) said += "<br><small>Title: " + HtmlEscape(file.title) + "</small>";
        if (!file.author.empty())
            said += "<br><small>Author: " + HtmlEscape(file.author) + "</small>";
        Line(out, 4, "<td>" + font + name + said + "</font></td>");
    }
    if (options_.show[2]) Line(out, 4, "<td>" + font + file.version + "</font></td>");
    if (options_.show[3]) Line(out, 4, "<td align=\"right\">" + font + file.size + "</font></td>");
    if (options_.show[4]) Line(out, 4, "<td>" + font + file.date + "</font></td>");
    if (options_.show[5]) Line(out, 4, "<td>" + font + "&nbsp;" + file.attributes + "</font></td>");
    Line(out, 2, "</tr>");
}

void HtmlPageWriter::AddGridCell(const HtmlPageFile& file, std::string& out) {
    const std::string font = "<font face=\"" + face_ + "\">";
    const std::string href = "<a href=\"" + HtmlEscape(file.url) + "\">";
    if (cell_ == options_.layout + 1) {
        Line(out, 2, "</tr>");
        Line(out, 2, "<tr>");
        cell_ = 1;
    }
    Line(out, 4,
         std::string("<td width=\"") + CellWidth(options_.layout) + "\" valign=\"baseline\">");
    Line(out, 6, "<table border=\"0\" cellspacing=\"0\" cellpadding=\"0\" width=\"100%\">");
    if (options_.show[0]) {
        Line(out, 8, "<tr>");
        Line(out, 10, "<td align=\"center\" width=\"100%\">");
        Line(out, 12, font);
        if (!file.image.empty())
            Line(out, 12,
                 href + "<img border=\"0\" src=\"" + HtmlEscape(UrlPathEscape(file.image)) +
                     "\" alt=\"" + HtmlEscape(file.name) + "\"></a>");
        else
            Line(out, 12, href + "<b>No Preview</b></a>" + (options_.layout == 3 ? "<br>" : ""));
        Line(out, 12, "</font>");
        Line(out, 10, "</td>");
        Line(out, 8, "</tr>");
    }
    bool anyText = false;
    for (int i = 1; i < 6; ++i)
        anyText = anyText || options_.show[i];
    if (anyText) {
        Line(out, 8, "<tr>");
        Line(out, 10, "<td align=\"center\" width=\"100%\">");
        Line(out, 12, font);
        if (options_.show[1]) Line(out, 12, HtmlEscape(file.name) + "<br>");
        if (options_.show[2]) Line(out, 12, "Ver. " + file.version + "<br>");
        if (options_.show[3]) Line(out, 12, file.size + "<br>");
        if (options_.show[4]) Line(out, 12, file.date + "<br>");
        if (options_.show[5]) Line(out, 12, "&nbsp;" + file.attributes);
        Line(out, 12, "</font>");
        Line(out, 10, "</td>");
        Line(out, 8, "</tr>");
    }
    Line(out, 6, "</table>");
    Line(out, 4, "</td>");
    ++cell_;
}

void HtmlPageWriter::End(std::string& out) {
    if (options_.layout != 1) {
        for (; cell_ < options_.layout + 1; ++cell_) {
            Line(out, 4,
                 std::string("<td width=\"") + CellWidth(options_.layout) +
                     "\" valign=\"baseline\">");
            Line(out, 6, "&nbsp;");
            Line(out, 4, "</td>");
        }
        Line(out, 2, "</tr>");
    }
    Line(out, 0, "</table>");
    Line(out, 0, "<br>");
    Line(out, 0, "<center><h4><small><small>");
    Line(out, 0,
         std::string("<a href=\"") + kSite +
             "\" target=\"_blank\" style=\"text-decoration:none\">Created by Korvex</a>");
    Line(out, 0, "</small></small></h4></center>");
    Line(out, 0, "</body>");
    Line(out, 0, "</html>");
    Line(out, 0, kGeneratorLine);
    Line(out, 0, "<!--A catalogue of drawings and the previews saved in them-->");
    Line(out, 0, "<!--Each picture opens its drawing-->");
    Line(out, 0, "<!--Korvex reads drawings and never writes them-->");
}

std::string HtmlEscape(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        switch (c) {
        case '&': out += "&amp;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        case '"': out += "&quot;"; break;
        default: out += c;
        }
    }
    return out;
}

// The text in UTF-8, as URLs carry non-ASCII characters.
static std::string Utf8(const std::string& ansi) {
    int n = MultiByteToWideChar(CP_ACP, 0, ansi.data(), static_cast<int>(ansi.size()), nullptr, 0);
    if (n <= 0) return ansi;
    std::wstring wide(static_cast<size_t>(n), L'\0');
    MultiByteToWideChar(CP_ACP, 0, ansi.data(), static_cast<int>(ansi.size()), &wide[0], n);
    int m = WideCharToMultiByte(CP_UTF8, 0, wide.data(), n, nullptr, 0, nullptr, nullptr);
    if (m <= 0) return ansi;
    std::string utf8(static_cast<size_t>(m), '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide.data(), n, &utf8[0], m, nullptr, nullptr);
    return utf8;
}

std::string UrlPathEscape(const std::string& path) {
    static const char kHex[] = "0123456789ABCDEF";
    std::string out;
    for (char ch : Utf8(path)) {
        unsigned char c = static_cast<unsigned char>(ch);
        if (c == '\\') {
            out += '/';
        } else if (c <= 0x20 || c >= 0x7F || c == '"' || c == '#' || c == '%' || c == '<' ||
                   c == '>' || c == '?') {
            out += '%';
            out += kHex[c >> 4];
            out += kHex[c & 15];
        } else {
            out += static_cast<char>(c);
        }
    }
    return out;
}

std::string FileUrl(const std::string& path) {
    if (path.size() > 2 && path[0] == '\\' && path[1] == '\\')
        return "file:" + UrlPathEscape(path); // "\\server\share" gives "//server/share"
    return "file:///" + UrlPathEscape(path);
}

bool IsKorvexPage(const std::string& text) {
    return text.find(std::string("\n") + kGeneratorLine) != std::string::npos;
}

static int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// Character references and percent-encoding undone, UTF-8 back to the ANSI
// code page.
static std::string SourceName(const std::string& reference) {
    std::string url = reference;
    const char* const pairs[][2] = {{"&lt;", "<"}, {"&gt;", ">"}, {"&quot;", "\""}, {"&amp;", "&"}};
    for (const auto& pair : pairs)
        url = ReplaceAll(url, pair[0], pair[1]);
    std::string utf8;
    for (size_t i = 0; i < url.size(); ++i) {
        if (url[i] == '%' && i + 2 < url.size() && HexDigit(url[i + 1]) >= 0 &&
            HexDigit(url[i + 2]) >= 0) {
            utf8 += static_cast<char>(HexDigit(url[i + 1]) * 16 + HexDigit(url[i + 2]));
            i += 2;
        } else {
            utf8 += url[i];
        }
    }
    int n = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
    if (n <= 0) return utf8;
    std::wstring wide(static_cast<size_t>(n), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), &wide[0], n);
    int m = WideCharToMultiByte(CP_ACP, 0, wide.data(), n, nullptr, 0, nullptr, nullptr);
    if (m <= 0) return utf8;
    std::string ansi(static_cast<size_t>(m), '\0');
    WideCharToMultiByte(CP_ACP, 0, wide.data(), n, &ansi[0], m, nullptr, nullptr);
    return ansi;
}

std::vector<std::string> PageImageNames(const std::string& page) {
    std::vector<std::string> names;
    const std::string source = kImageSource;
    for (size_t at = page.find(source); at != std::string::npos; at = page.find(source, at)) {
        at += source.size();
        size_t end = page.find('"', at);
        if (end == std::string::npos) break;
        names.push_back(SourceName(page.substr(at, end - at)));
        at = end;
    }
    return names;
}

std::string ReplaceQuestion(const std::vector<std::string>& names) {
    bool one = names.size() == 1;
    std::string text = one ? "This file is already in the folder and was not written by Korvex:\r\n"
                           : "These files are already in the folder and were not written by "
                             "Korvex:\r\n";
    for (size_t i = 0; i < names.size() && i < kNamesAsked; ++i)
        text += "\r\n" + names[i];
    if (names.size() > kNamesAsked)
        text += "\r\n... and " + std::to_string(names.size() - kNamesAsked) + " more";
    return text + "\r\n\r\nWould you like to overwrite " + (one ? "it?" : "them?");
}

std::string ImageNameFor(const std::string& name, const std::string& extensionSelection) {
    std::string extension = IsAllTypes(extensionSelection) ? Right(name, 4) : extensionSelection;
    std::string lower = Lower(name);
    extension = Lower(extension);
    return extension.empty() ? lower : ReplaceAll(lower, extension, ".bmp");
}

std::string ImageNames::Claim(const std::string& wanted) {
    std::string name = wanted;
    std::string stem = wanted, tail;
    if (Lower(Right(wanted, 4)) == ".bmp") {
        stem = wanted.substr(0, wanted.size() - 4);
        tail = wanted.substr(wanted.size() - 4);
    }
    for (int n = 2; !used_.insert(Lower(name)).second; ++n)
        name = stem + "_" + std::to_string(n) + tail;
    return name;
}

void ImageNames::Release(const std::string& name) {
    used_.erase(Lower(name));
}
