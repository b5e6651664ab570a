// An exported page of real drawings, loaded by a real browser.
#include <windows.h>

#include <cstring>
#include <map>
#include <sstream>

#include "filelist/file_list_build.h"
#include "filelist/list_rows.h"
#include "runtime/app_state.h"
#include "runtime/files.h"
#include "runtime/ids.h"
#include "runtime/win_helpers.h"
#include "tests/export/html_export_fixture.h"
#include "tests/support/dwg_builder.h"
#include "tests/support/headless_chromium.h"
#include "tests/support/png_builder.h"
#include "tests/support/sample_dwg.h"
#include "tests/support/unix_command.h"

namespace {

// Loads the page in a frame and, once the frame (with every image) has
// loaded, writes what the browser made of it into a <pre> of its own.
const char kProbe[] = R"(<html><body><iframe src="page.htm"></iframe><pre id="out"></pre>
<script>
document.querySelector('iframe').onload = function() {
  var d = this.contentDocument, lines = [];
  d.querySelectorAll('img').forEach(function(i) {
    lines.push(['IMG', i.alt, i.complete, i.naturalWidth, i.naturalHeight].join('\t'));
  });
  d.querySelectorAll('a').forEach(function(a) { lines.push(['A', a.href].join('\t')); });
  d.querySelectorAll('td').forEach(function(td) { lines.push(['TD', td.textContent].join('\t')); });
  document.getElementById('out').textContent = lines.join('\n');
};
</script></body></html>)";

std::string Unescaped(std::string text) {
    const char* pairs[][2] = {{"&lt;", "<"}, {"&gt;", ">"}, {"&quot;", "\""}, {"&amp;", "&"}};
    for (auto& p : pairs) {
        for (size_t at = text.find(p[0]); at != std::string::npos; at = text.find(p[0], at + 1))
            text.replace(at, strlen(p[0]), p[1]);
    }
    return text;
}

// "file:///Z:/a%20b/c.dwg" as the Windows path "Z:\a b\c.dwg".
std::string PathOfUrl(const std::string& url) {
    std::string path;
    for (size_t i = std::string("file:///").size(); i < url.size(); ++i) {
        if (url[i] == '%' && i + 2 < url.size()) {
            path += static_cast<char>(std::stoi(url.substr(i + 1, 2), nullptr, 16));
            i += 2;
        } else {
            path += url[i] == '/' ? '\\' : url[i];
        }
    }
    return path;
}

std::vector<std::vector<std::string>> ProbeLines(const std::string& dom) {
    size_t from = dom.find("<pre id=\"out\">"), to = dom.find("</pre>");
    std::vector<std::vector<std::string>> lines;
    if (from == std::string::npos || to == std::string::npos) return lines;
    from += std::string("<pre id=\"out\">").size();
    std::istringstream in(Unescaped(dom.substr(from, to - from)));
    for (std::string line; std::getline(in, line);) {
        std::vector<std::string> cells;
        std::istringstream fields(line);
        for (std::string cell; std::getline(fields, cell, '\t');)
            cells.push_back(cell);
        lines.push_back(cells);
    }
    return lines;
}

// A drawing whose bitmap entry claims 520,000,000 bytes, inside a file that
// long (sparse: the file system stores no zeros): the entry lies in the file,
// but no bitmap of its header fills it.
bool WriteDrawingWithHugeEntry(const std::string& path) {
    std::string drawing = DrawingWithPreview(8, 8, 0x00FF00);
    PutLE32(drawing, kImageBlockAddress + 21 + 5, 520000000u); // the first entry's size
    return WriteBytes(path, drawing) && ExtendFile(path, 530000000);
}

TEST_F(HtmlExportTest, BrowserShowsEveryPictureAndFollowsEveryLink) {
    if (!ChromiumInstalled()) GTEST_SKIP() << "chromium is not installed (scripts/setup)";
    ScratchFolder folder, target;
    // Previews as the drawings hold them, bitmaps and PNG pictures as the list
    // shows them: real ones where this run has them.
    // A name of 250 characters and more is read whole.
    const std::string longName = std::string(246, 'n') + "e.dwg";
    // Names in other scripts arrive as UTF-8 in a page that says so.
    const std::string chinese = "\xE4\xB8\xAD\xE6\x96\x87 \xE5\x9B\xBE.dwg";
    const std::string emoji = "emoji \xF0\x9F\x93\x90 plan-\xC3\xA9.dwg";
    std::map<std::string, std::pair<int, int>> sizes = {{"R&D #1 50%.dwg", {30, 20}},
                                                        {"png only.dwg", {7, 5}},
                                                        {longName, {9, 4}},
                                                        {chinese, {12, 6}},
                                                        {emoji, {5, 3}}};
    ASSERT_TRUE(WriteBytes(folder.file("R&D #1 50%.dwg"), DrawingWithPreview(30, 20, 0xFF0000)));
    ASSERT_TRUE(WriteBytes(folder.file(chinese), DrawingWithPreview(12, 6, 0x00FF00)));
    ASSERT_TRUE(WriteBytes(folder.file(emoji), DrawingWithPreview(5, 3, 0x0000FF)));
    ASSERT_TRUE(WriteBytes(folder.file(longName), DrawingWithPreview(9, 4, 0xFF0000)));
    ASSERT_TRUE(WriteBytes(folder.file("bare.dwg"), MakeDrawingWithoutImages("AC1015")));
    // A drawing of 2010 that says who made it, in other scripts and in markup.
    std::string said = DrawingWithPreview(6, 6, 0x00FF00).replace(0, 6, "AC1024");
    ASSERT_TRUE(WriteBytes(
        folder.file("said.dwg"),
        WithPropertiesBlock(said, PropertiesBlock(true, {"Σχέδιο <1>", "", "张伟"}), 30)));
    sizes["said.dwg"] = {6, 6};
    PngRecipe png;
    png.width = 7;
    png.height = 5;
    png.color = [](int x, int y) { return (x + y) % 2 ? 0xFF2030C0u : 0xFFFFFFFFu; };
    png.palette = {0x2030C0, 0xFFFFFF};
    ASSERT_TRUE(WriteBytes(folder.file("png only.dwg"),
                           MakeDrawing("AC1032", {{1, std::string(80, 'h')}, {6, MakePng(png)}})));
    ASSERT_TRUE(WriteDrawingWithHugeEntry(folder.file("huge claim.dwg")));
    std::string samples = SampleDrawingFolder();
    if (!samples.empty()) {
        for (const auto& row : ReadManifestRows(samples)) {
            bool bitmap = row.size() >= 7 && row[4] == "yes";
            bool pngOnly = !bitmap && row.size() >= 17 && row[14] == "yes";
            if (!bitmap && !pngOnly) continue;
            ASSERT_TRUE(CopyFileA((samples + row[0]).c_str(), folder.file(row[0]).c_str(), FALSE));
            sizes[row[0]] = bitmap ? std::make_pair(std::stoi(row[5]), std::stoi(row[6]))
                                   : std::make_pair(std::stoi(row[15]), std::stoi(row[16]));
        }
    }
    ListFolder(Unslashed(folder.path()));
    // A name no Windows folder can hold, to show that no name becomes markup.
    InsertRowAtTop("", 0);
    SetRowText(Win.list, 0, 2, "a&b<c>.dwg");

    DialogAnswerer answers;
    RunDialog(answers, [&](HWND dlg) {
        SendMessageA(DialogControl(dlg, ID_HTML_LAYOUT1), BM_CLICK, 0, 0);
        SetWindowTextA(DialogControl(dlg, ID_HTML_FOLDER), target.path().c_str());
        SetWindowTextA(DialogControl(dlg, ID_HTML_FILENAME), "page.htm");
        ClickButton(dlg, ID_HTML_OK);
    });
    ASSERT_EQ(1u, OpenedPages.size());
    ASSERT_TRUE(WriteBytes(target.file("probe.htm"), kProbe));

    auto lines = ProbeLines(ChromiumDom(target.file("probe.htm")));
    ASSERT_FALSE(lines.empty()) << "the browser reported nothing";
    std::map<std::string, std::pair<int, int>> shown;
    int links = 0;
    bool oddNameReadsAsTyped = false;
    int otherScripts = 0;
    for (const auto& cells : lines) {
        if (cells[0] == "IMG" && cells.size() == 5) {
            EXPECT_EQ("true", cells[2]) << cells[1];
            shown[cells[1]] = {std::stoi(cells[3]), std::stoi(cells[4])};
        } else if (cells[0] == "A" && cells.size() == 2 && cells[1].rfind("file:", 0) == 0) {
            std::string path = PathOfUrl(cells[1]);
            EXPECT_EQ(folder.path(), path.substr(0, folder.path().size())) << cells[1];
            std::string name = path.substr(folder.path().size());
            if (name != "a&b<c>.dwg") {
                EXPECT_TRUE(PathExists(path)) << cells[1] << " leads to no drawing";
            }
            ++links;
        } else if (cells[0] == "TD" && cells.size() == 2 &&
                   cells[1] == "said.dwgTitle: Σχέδιο <1>Author: 张伟") {
            ++otherScripts;
        } else if (cells[0] == "TD" && cells.size() == 2 && cells[1] == "a&b<c>.dwg") {
            oddNameReadsAsTyped = true;
        } else if (cells[0] == "TD" && cells.size() == 2 &&
                   (cells[1] == chinese || cells[1] == emoji)) {
            ++otherScripts;
        }
    }
    EXPECT_EQ(sizes, shown) << "every picture loaded at its preview's size";
    EXPECT_FALSE(PathExists(target.file("huge claim.bmp")));
    EXPECT_EQ(RowCount(Win.list), links) << "one link per row";
    EXPECT_TRUE(oddNameReadsAsTyped);
    EXPECT_EQ(3, otherScripts) << "names, titles and authors in other scripts read as they are";
    BuildFileList();
}

} // namespace
