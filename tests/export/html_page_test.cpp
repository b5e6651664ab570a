#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "export/html_page.h"

namespace {

HtmlPageFile Drawing(const std::string& name, bool hasPreview) {
    HtmlPageFile f;
    f.name = name;
    f.url = "file:///C:/D/" + name;
    f.image = hasPreview ? "plan.bmp" : "";
    f.version = "2000";
    f.size = "12 KB";
    f.date = "03/07/2010 02:05 PM";
    f.attributes = "A";
    return f;
}

std::string Page(const HtmlPageOptions& options, const std::vector<HtmlPageFile>& files) {
    HtmlPageWriter writer(options);
    std::string out;
    writer.Begin(out);
    for (const auto& f : files)
        writer.AddFile(f, out);
    writer.End(out);
    return out;
}

// The text between two markers (from the first, up to the second).
std::string Between(const std::string& text, const std::string& from, const std::string& to) {
    size_t a = text.find(from);
    size_t b = text.find(to, a == std::string::npos ? 0 : a + from.size());
    if (a == std::string::npos || b == std::string::npos) return "<missing>";
    return text.substr(a, b - a);
}

int Count(const std::string& text, const std::string& what) {
    int n = 0;
    for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1))
        ++n;
    return n;
}

HtmlPageOptions Options(int layout, bool showHeader = true) {
    HtmlPageOptions o;
    o.title = "T";
    o.font = "Arial";
    o.header = "C:\\D";
    o.showHeader = showHeader;
    o.layout = layout;
    return o;
}

TEST(HtmlPage, ThePageDeclaresTheCodePageItIsWrittenIn) {
    EXPECT_EQ("utf-8", CharsetOfCodePage(65001));
    EXPECT_EQ("iso-8859-1", CharsetOfCodePage(1252));
    EXPECT_EQ("windows-1251", CharsetOfCodePage(1251));
    HtmlPageOptions options = Options(1);
    options.charset = "utf-8";
    EXPECT_NE(std::string::npos, Page(options, {}).find("text/html; charset=utf-8\">\n"));
}

TEST(HtmlPage, HeadAndFootFrameEveryLayout) {
    for (int layout : {1, 3, 4}) {
        std::string page = Page(Options(layout), {});
        EXPECT_EQ(0u,
                  page.find("<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.01 Transitional//EN\">\n"
                            "<html>\n<head>\n"
                            "  <meta http-equiv=\"Content-Type\" Content=\"text/html; "
                            "charset=iso-8859-1\">\n"
                            "  <meta name=\"Generator\" content=\"Korvex\">\n"
                            "  <title>T</title>\n</head>\n<body>\n"));
        size_t html = page.find("</table>\n<br>\n<center><h4><small><small>\n<a href=\"");
        ASSERT_NE(std::string::npos, html) << layout;
        std::string tail = page.substr(page.find("</html>\n"));
        EXPECT_EQ(0u, tail.find("</html>\n<!--Created with Korvex-->\n")) << layout;
        EXPECT_EQ(5, Count(tail, "\n")) << "four comment lines end the page";
        EXPECT_EQ(4, Count(tail, "<!--"));
    }
}

TEST(HtmlPage, DetailTableRowsFollowTheShownItems) {
    std::string page = Page(Options(1), {Drawing("plan.dwg", true), Drawing("old.dwg", false)});
    EXPECT_EQ("<table border=\"1\" cellspacing=\"0\" cellpadding=\"2\" width=\"100%\">\n"
              "  <tr>\n"
              "    <th colspan=\"6\"><font face=\"Arial\">C:\\D</font></th>\n"
              "  </tr>\n"
              "  <tr>\n"
              "    <th><font face=\"Arial\">Preview</font></th>\n"
              "    <th><font face=\"Arial\">Filename</font></th>\n"
              "    <th><font face=\"Arial\">Version</font></th>\n"
              "    <th><font face=\"Arial\">Size</font></th>\n"
              "    <th><font face=\"Arial\">Modified</font></th>\n"
              "    <th><font face=\"Arial\">Attributes</font></th>\n"
              "  </tr>\n"
              "  <tr>\n"
              "    <td width=\"1\" align=\"center\"><a href=\"file:///C:/D/plan.dwg\"><img "
              "border=\"0\" src=\"plan.bmp\" alt=\"plan.dwg\"></a></td>\n"
              "    <td><font face=\"Arial\">plan.dwg</font></td>\n"
              "    <td><font face=\"Arial\">2000</font></td>\n"
              "    <td align=\"right\"><font face=\"Arial\">12 KB</font></td>\n"
              "    <td><font face=\"Arial\">03/07/2010 02:05 PM</font></td>\n"
              "    <td><font face=\"Arial\">&nbsp;A</font></td>\n"
              "  </tr>\n"
              "  <tr>\n"
              "    <td align=\"center\"><font face=\"Arial\"><a "
              "href=\"file:///C:/D/old.dwg\"><b>No Preview</b></a></font></td>\n",
              Between(page, "<table", "    <td><font face=\"Arial\">old.dwg"));

    HtmlPageOptions none = Options(1);
    for (bool& on : none.show)
        on = false;
    std::string empty = Page(none, {Drawing("a.dwg", true), Drawing("b.dwg", true)});
    EXPECT_EQ("<th colspan=\"0\">", Between(empty, "<th colspan", "<font"));
    EXPECT_EQ("  <tr>\n  </tr>\n  <tr>\n  </tr>\n  <tr>\n  </tr>\n</table>",
              Between(empty, "  <tr>\n  </tr>", "\n<br>"));

    HtmlPageOptions noHeader = Options(1, false);
    EXPECT_EQ(0, Count(Page(noHeader, {Drawing("a.dwg", true)}), "colspan"));
}

TEST(HtmlPage, GridCellStacksPictureAboveTexts) {
    std::string page = Page(Options(3), {Drawing("plan.dwg", true)});
    EXPECT_EQ("<table align=\"center\" border=\"1\" cellspacing=\"0\" cellpadding=\"2\" "
              "width=\"100%\">\n"
              "  <tr>\n"
              "    <th colspan=\"3\"><font face=\"Arial\">C:\\D</font></th>\n"
              "  </tr>\n"
              "  <tr>\n"
              "    <td width=\"33%\" valign=\"baseline\">\n"
              "      <table border=\"0\" cellspacing=\"0\" cellpadding=\"0\" width=\"100%\">\n"
              "        <tr>\n"
              "          <td align=\"center\" width=\"100%\">\n"
              "            <font face=\"Arial\">\n"
              "            <a href=\"file:///C:/D/plan.dwg\"><img border=\"0\" src=\"plan.bmp\" "
              "alt=\"plan.dwg\"></a>\n"
              "            </font>\n"
              "          </td>\n"
              "        </tr>\n"
              "        <tr>\n"
              "          <td align=\"center\" width=\"100%\">\n"
              "            <font face=\"Arial\">\n"
              "            plan.dwg<br>\n"
              "            Ver. 2000<br>\n"
              "            12 KB<br>\n"
              "            03/07/2010 02:05 PM<br>\n"
              "            &nbsp;A\n"
              "            </font>\n"
              "          </td>\n"
              "        </tr>\n"
              "      </table>\n"
              "    </td>\n"
              "    <td width=\"33%\" valign=\"baseline\">\n"
              "      &nbsp;\n"
              "    </td>\n"
              "    <td width=\"33%\" valign=\"baseline\">\n"
              "      &nbsp;\n"
              "    </td>\n",
              Between(page, "<table", "  </tr>\n</table>"));

    // Without a preview the link stands alone; layout 3 breaks the line after it.
    EXPECT_NE(std::string::npos,
              Page(Options(3), {Drawing("x.dwg", false)})
                  .find("            <a href=\"file:///C:/D/x.dwg\"><b>No Preview</b></a><br>\n"));
    std::string four = Page(Options(4), {Drawing("x.dwg", false)});
    EXPECT_NE(std::string::npos,
              four.find("            <a href=\"file:///C:/D/x.dwg\"><b>No Preview</b></a>\n"));
    EXPECT_NE(std::string::npos, four.find("<th colspan=\"4\">"));
    EXPECT_NE(std::string::npos, four.find("<td width=\"25%\" valign=\"baseline\">"));
}

TEST(HtmlPage, GridRowsArePaddedWithFillerCells) {
    struct Case {
        int layout, files, rows, fillers;
    } cases[] = {{3, 4, 2, 2}, {3, 3, 1, 0}, {4, 1, 1, 3}, {4, 5, 2, 3}, {4, 8, 2, 0}};
    for (const Case& c : cases) {
        HtmlPageOptions o = Options(c.layout, false);
        std::vector<HtmlPageFile> files(static_cast<size_t>(c.files), Drawing("a.dwg", true));
        std::string page = Page(o, files);
        std::string grid = Between(page, "  <tr>\n    <td", "</table>\n<br>");
        EXPECT_EQ(c.rows, Count(grid, "\n  <tr>\n") + 1) << c.layout << "/" << c.files;
        EXPECT_EQ(c.fillers, Count(grid, "\n      &nbsp;\n")) << c.layout << "/" << c.files;
        EXPECT_EQ(c.rows, Count(grid, "\n  </tr>\n")) << c.layout << "/" << c.files;
    }
}

TEST(HtmlPage, GridCellsHoldOnlyTheShownParts) {
    HtmlPageOptions pictureOnly = Options(4, false);
    for (int i = 1; i < 6; ++i)
        pictureOnly.show[i] = false;
    std::string page = Page(pictureOnly, {Drawing("a.dwg", true)});
    EXPECT_EQ(1, Count(page, "<td align=\"center\" width=\"100%\">")) << "no text sub-row";

    HtmlPageOptions nothing = pictureOnly;
    nothing.show[0] = false;
    EXPECT_EQ("    <td width=\"25%\" valign=\"baseline\">\n"
              "      <table border=\"0\" cellspacing=\"0\" cellpadding=\"0\" width=\"100%\">\n"
              "      </table>\n"
              "    </td>\n",
              Between(Page(nothing, {Drawing("a.dwg", true)}), "    <td width",
                      "    <td width=\"25%\" valign=\"baseline\">\n      &nbsp;"));
}

TEST(HtmlPage, TextsThatCouldCarryMarkupAreEscaped) {
    HtmlPageOptions o = Options(1);
    o.title = "<script>x</script>";
    o.header = "R&D \"plans\"";
    o.font = "Bad\" onmouseover=\"x";
    HtmlPageFile f = Drawing("a&b<c>.dwg", true);
    f.url = FileUrl("C:\\R&D\\a&b<c>.dwg");
    f.image = "a&b<c>.bmp";
    std::string page = Page(o, {f});
    EXPECT_EQ(std::string::npos, page.find("<script>"));
    EXPECT_NE(std::string::npos, page.find("<title>&lt;script&gt;x&lt;/script&gt;</title>"));
    EXPECT_NE(std::string::npos, page.find(">R&amp;D &quot;plans&quot;</font>"));
    EXPECT_NE(std::string::npos, page.find("face=\"Bad&quot; onmouseover=&quot;x\""));
    EXPECT_NE(std::string::npos, page.find("<td><font face=\"Bad&quot; onmouseover=&quot;x\">"
                                           "a&amp;b&lt;c&gt;.dwg</font></td>"));
    EXPECT_NE(std::string::npos, page.find("href=\"file:///C:/R&amp;D/a&amp;b%3Cc%3E.dwg\""));
    EXPECT_NE(std::string::npos,
              page.find("src=\"a&amp;b%3Cc%3E.bmp\" alt=\"a&amp;b&lt;c&gt;.dwg\""));
}

TEST(HtmlPage, LinksAreFileUrls) {
    struct Case {
        const char* path;
        const char* url;
    } cases[] = {
        {"C:\\Drawings\\plan.dwg", "file:///C:/Drawings/plan.dwg"},
        {"C:\\My Plans\\#1 50%?.dwg", "file:///C:/My%20Plans/%231%2050%25%3F.dwg"},
        {"\\\\server\\share\\p.dwg", "file://server/share/p.dwg"},
        {"Z:\\caf\xC3\xA9.dwg", "file:///Z:/caf%C3%A9.dwg"}, // é, in UTF-8
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.url, FileUrl(c.path)) << c.path;
    EXPECT_EQ("a%20b.bmp", UrlPathEscape("a b.bmp"));
}

TEST(HtmlPage, ImageNamesFollowTheListedExtension) {
    struct Case {
        const char* name;
        const char* selection;
        const char* image;
    } cases[] = {
        {"Plan.DWG", ".DWG", "plan.bmp"},
        {"detail.Bak", "ALL TYPES", "detail.bmp"},
        {"a.dwg.DWG", ".DWG", "a.bmp.bmp"}, // every occurrence
        {"x.sv$", "All Types", "x.bmp"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.image, ImageNameFor(c.name, c.selection)) << c.name;

    ImageNames names;
    EXPECT_EQ("plan.bmp", names.Claim("plan.bmp"));
    EXPECT_EQ("plan_2.bmp", names.Claim("plan.bmp"));
    EXPECT_EQ("PLAN_3.bmp", names.Claim("PLAN.bmp")) << "letter case aside";
    EXPECT_EQ("plan_2_2.bmp", names.Claim("plan_2.bmp")) << "a name taken by a renamed picture";
}

} // namespace
