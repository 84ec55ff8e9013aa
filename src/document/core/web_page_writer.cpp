#include "document/core/web_page_writer.h"

#include <string>
#include <utility>
#include <vector>

#include "document/core/chronology.h"
#include "document/core/page_output.h"
#include "document/core/program_paths.h"
#include "document/core/timeline_picture.h"

namespace {

// Styles for the screen and for paper: black on white, each category on a
// sheet of its own when printed, the first sheet holding the title, the
// contents and the start of the chronology. A picture whose file is missing
// shows the note of img::after, which a browser draws only for a picture it
// could not load.
const char PageStyle[] =
    "body { margin: 2em auto; max-width: 45em; padding: 0 1em; color: #000; background: #fff;"
    " font-family: Georgia, \"Times New Roman\", serif; line-height: 1.45; overflow-wrap: break-word; }\n"
    "h1 { font-size: 2em; margin-bottom: 0.5em; }\n"
    "h2 { font-size: 1.5em; border-bottom: 1px solid #000; page-break-after: avoid; }\n"
    "h3 { font-size: 1.15em; margin: 1.5em 0 0.3em; page-break-after: avoid; }\n"
    "nav ul, ol.chronology { list-style: none; padding: 0; }\n"
    "dl { margin: 0.3em 0; }\n"
    "dt { float: left; clear: left; width: 7.5em; font-weight: bold; }\n"
    "dd { margin: 0 0 0.2em 8em; }\n"
    "ul.files { padding-left: 1.2em; }\n"
    "figure { margin: 0.8em 0; }\n"
    "figure img { display: block; max-width: 100%; height: auto; position: relative; font-size: 0; }\n"
    "figure img::after { content: \"(picture not found)\"; position: absolute; left: 0; top: 0;"
    " width: max-content; min-height: 100%; background: #fff; font-size: 0.8rem; font-style: italic;"
    " print-color-adjust: exact; }\n"
    "figcaption { font-size: 0.9em; }\n"
    "a { color: #1a3e80; }\n"
    "section { margin-top: 2.5em; }\n"
    ".back { margin-top: 1.5em; }\n"
    "svg.timeline { display: block; margin: 1em 0 1.5em; font-family: sans-serif; font-size: 11px; }\n"
    ".timeline a { color: inherit; }\n"
    ".timeline text, .timeline circle { fill: currentColor; }\n"
    ".timeline line { stroke: currentColor; }\n"
    ".timeline line.years { stroke-width: 8px; stroke-linecap: round; }\n"
    ".timeline .ticks { text-anchor: middle; }\n"
    "@media (max-width: 40em) {\n"
    "  .timeline .odd { display: none; }\n"
    "}\n"
    "@media print {\n"
    "  body { margin: 0; max-width: none; padding: 0; }\n"
    "  a { color: #000; text-decoration: none; }\n"
    "  section { margin-top: 0; }\n"
    "  section.category { page-break-before: always; }\n"
    "  article, figure, svg.timeline { break-inside: avoid; }\n"
    "  figure img { max-height: 50vh; width: auto; }\n"
    "}\n";

void styles(PageOutput &page)
{
    page.text(PageStyle);
    timelineRowStyles(page);
}

// The short fields, listed under an entry's title by their labels; the
// title, the detail and the files have places of their own, and the
// category is the section the entry stands in.
bool isListedField(const EntryField &field)
{
    return field.column != &Biography::title && field.column != &Biography::detail &&
           field.column != &Biography::files && field.column != &Biography::category;
}

// What each tab lists, tab by tab.
using TabEntries = std::vector<std::vector<int>>;

TabEntries entriesOfEveryTab(const Biography &d)
{
    TabEntries entries;
    for (int tab = 0; tab < d.categoryCount; ++tab) entries.push_back(entriesOnTab(d, tab));
    return entries;
}

void categoryName(PageOutput &page, const std::string &name)
{
    page.firstVisible({name}, "Unnamed category", LineBreaks::Breaks);
}

void head(PageOutput &page, const Biography &d, std::string_view language)
{
    page.text("<!DOCTYPE html>\n<html lang=\"");
    page.value(language, LineBreaks::Spaces);
    page.text("\">\n<head>\n<meta charset=\"utf-8\">\n<title>");
    page.firstVisible({d.topic, d.fileName}, "Biography", LineBreaks::Spaces);
    page.text("</title>\n<style>\n");
    styles(page);
    page.text("</style>\n</head>\n");
}

void contents(PageOutput &page, const Biography &d, const TabEntries &entries)
{
    if (d.categoryCount == 0) return;
    page.text("<nav id=\"contents\">\n<h2>Contents</h2>\n<ul>\n");
    for (int tab = 0; tab < d.categoryCount; ++tab) {
        const std::string &name = d.categories[categoryShownOnTab(d, tab)];
        const size_t count = entries[tab].size();
        page.text("<li><a href=\"#category-");
        page.number(tab + 1);
        page.text("\">");
        categoryName(page, name);
        page.text("</a> (");
        page.number(static_cast<int>(count));
        page.text(count == 1 ? " entry)</li>\n" : " entries)</li>\n");
    }
    page.text("</ul>\n</nav>\n");
}

void fieldList(PageOutput &page, const Biography &d, int i)
{
    bool listed = false;
    for (const EntryField &field : EntryFields) {
        const std::string &value = (d.*field.column)[i];
        if (!isListedField(field) || value.empty()) continue;
        // A value of nothing a reader would see is left out with its label.
        const size_t start = page.written();
        page.text(listed ? "<dt>" : "<dl>\n<dt>");
        page.text(field.label);
        page.text("</dt><dd>");
        if (!page.visibleValue(value, LineBreaks::Breaks)) {
            page.rollBack(start);
            continue;
        }
        listed = true;
        page.text("</dd>\n");
    }
    if (listed) page.text("</dl>\n");
}

void detail(PageOutput &page, const std::string &text)
{
    const size_t start = page.written();
    page.text("<p>");
    if (page.visibleValue(text, LineBreaks::Paragraphs))
        page.text("</p>\n");
    else
        page.rollBack(start);
}

// A picture on another computer is only a link: loading it would connect
// whoever reads the page to that computer and send it their login.
void figure(PageOutput &page, std::string_view path, const PageFolders &folders)
{
    const std::string_view name = fileNameOf(path);
    const std::string link = fileLink(path, folders);
    if (reachesAnotherComputer(link)) {
        page.text("<figure><figcaption><a href=\"");
        page.text(link);
        page.text("\">");
        page.utf8Value(name, LineBreaks::Spaces);
        page.text("</a> (picture on another computer)</figcaption></figure>\n");
        return;
    }
    page.text("<figure><img src=\"");
    page.text(link);
    page.text("\" alt=\"");
    page.utf8Value(name, LineBreaks::Spaces);
    page.text("\" loading=\"lazy\"><figcaption>");
    page.utf8Value(name, LineBreaks::Spaces);
    page.text("</figcaption></figure>\n");
}

void fileList(PageOutput &page, const std::vector<std::string> &paths, const PageFolders &folders)
{
    if (paths.empty()) return;
    page.text("<ul class=\"files\">\n");
    for (const std::string &path : paths) {
        page.text("<li><a href=\"");
        page.text(fileLink(path, folders));
        page.text("\">");
        page.utf8Value(path, LineBreaks::Breaks);
        page.text("</a></li>\n");
    }
    page.text("</ul>\n");
}

// Pictures show as figures, one under the other; the other files are listed.
void attachedFiles(PageOutput &page, const std::string &files, const PageFolders &folders)
{
    std::vector<std::string> others;
    for (const std::string &ansiPath : parseFileList(files)) {
        if (ansiPath.empty()) continue;
        std::string path(page.asUtf8(ansiPath));
        if (isPicture(path))
            figure(page, path, folders);
        else
            others.push_back(std::move(path));
    }
    fileList(page, others, folders);
}

// An entry that a second tab of the same name shows again has its id only
// where it is shown first, which the chronology and the timeline link to.
void entry(PageOutput &page, const Biography &d, int i, bool shownFirst, const PageFolders &folders)
{
    page.text("<article");
    if (shownFirst) {
        page.text(" id=\"");
        entryId(page, i);
        page.text("\"");
    }
    page.text(">\n<h3>");
    page.firstVisible({d.title[i]}, "Untitled entry", LineBreaks::Breaks);
    page.text("</h3>\n");
    fieldList(page, d, i);
    detail(page, d.detail[i]);
    attachedFiles(page, d.files[i], folders);
    page.text("</article>\n");
}

// Where the page shows what: the tab each entry is shown on first (-1 when
// no tab lists it), and the entries with years in the order of the page.
struct PagePlan {
    std::vector<int> firstTab;
    std::vector<DatedEntry> dated;
};

PagePlan pagePlan(PageOutput &page, const Biography &d, const TabEntries &entries)
{
    PagePlan plan;
    plan.firstTab.assign(static_cast<size_t>(d.entryCount), -1);
    for (int tab = 0; tab < d.categoryCount; ++tab) {
        for (int i : entries[tab]) {
            if (plan.firstTab[i] >= 0) continue;
            plan.firstTab[i] = tab;
            const std::string timePeriod(page.asUtf8(d.timePeriod[i]));
            const YearSpan years = entryYears(timePeriod, page.asUtf8(d.entryDate[i]));
            if (years.dated()) plan.dated.push_back({i, tab, years});
        }
    }
    return plan;
}

void sections(PageOutput &page, const Biography &d, const TabEntries &entries, const PagePlan &plan,
              const PageFolders &folders)
{
    for (int tab = 0; tab < d.categoryCount; ++tab) {
        const std::string &name = d.categories[categoryShownOnTab(d, tab)];
        page.text("<section class=\"category\" id=\"category-");
        page.number(tab + 1);
        page.text("\">\n<h2>");
        categoryName(page, name);
        page.text("</h2>\n");
        const std::vector<int> &listed = entries[tab];
        for (int i : listed) entry(page, d, i, plan.firstTab[i] == tab, folders);
        if (listed.empty()) page.text("<p>No entries.</p>\n");
        page.text("<p class=\"back\"><a href=\"#contents\">Back to contents</a></p>\n</section>\n");
    }
}

void chronology(PageOutput &page, const Biography &d, const std::vector<DatedEntry> &dated)
{
    if (dated.empty()) return;
    page.text("<section id=\"chronology\">\n<h2>Chronology</h2>\n");
    timelinePicture(page, d, timelineOf(dated));
    page.text("<ol class=\"chronology\">\n");
    for (const DatedEntry &e : chronologyOrder(dated)) {
        page.text("<li>");
        entryLink(page, e.entry);
        datedTitle(page, d, e.entry, e.years);
        page.text("</a></li>\n");
    }
    page.text("</ol>\n</section>\n");
}

// Room for the usual page: the values once each, a little more for their
// escapes, and the markup around them. A value that needs more makes room
// for itself.
size_t roomEstimate(const Biography &d)
{
    size_t size = 4096 + sizeof PageStyle + 30 * MaxTimelineRows + 2 * d.topic.size();
    for (int i = 0; i < d.categoryCount; ++i) size += 2 * (2 * d.categories[i].size() + 100);
    for (int i = 0; i < d.entryCount; ++i) {
        size += 600; // with its line in the chronology and its mark
        for (const EntryField &field : EntryFields) size += (d.*field.column)[i].size();
        size += 2 * d.files[i].size(); // each path is written three times
    }
    return size + size / 4;
}

} // namespace

BiographyBytes writeWebPage(const Biography &d, const AnsiCodePage &codePage, std::string_view language,
                            const PageFolders &ansiFolders)
{
    PageOutput page(roomEstimate(d), codePage);
    const std::string pageFolder(page.asUtf8(ansiFolders.page));
    const std::string biographyFolder(page.asUtf8(ansiFolders.biography));
    const PageFolders folders{pageFolder, biographyFolder};
    const TabEntries entries = entriesOfEveryTab(d);
    const PagePlan plan = pagePlan(page, d, entries);
    head(page, d, language);
    page.text("<body>\n<h1>");
    page.firstVisible({d.topic, d.fileName}, "Biography", LineBreaks::Breaks);
    page.text("</h1>\n");
    contents(page, d, entries);
    chronology(page, d, plan.dated);
    sections(page, d, entries, plan, folders);
    page.text("</body>\n</html>\n");
    return page.finish();
}
