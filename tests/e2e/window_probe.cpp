// Reads what another process shows on screen, as an accessibility tool would: every visible
// top-level window with its controls, list rows, tree items, status-bar parts and combo entries.
// It sends only queries and never clicks; the end-to-end run drives the program with xdotool.
// It also tells, from the screen's pixels, how Glimmer's list, status bar and boxes drew a path.
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <cwchar>
#include <string>
#include <utility>
#include <vector>

namespace {

constexpr UINT kTimeoutMs = 3000;

std::string Utf8(const std::wstring& text)
{
    if (text.empty()) return {};
    int size = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr,
                                   0, nullptr, nullptr);
    std::string out(size, '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), size,
                        nullptr, nullptr);
    // One record per line and tab-separated fields: keep both out of the texts.
    for (char& c : out) {
        if (c == '\t' || c == '\n' || c == '\r') c = ' ';
    }
    return out;
}

class Output {
public:
    void Line(const std::vector<std::string>& fields)
    {
        std::string line;
        for (size_t i = 0; i < fields.size(); ++i) {
            if (i) line += '\t';
            line += fields[i];
        }
        line += '\n';
        text_ += line;
    }
    bool Flush()
    {
        DWORD written = 0;
        return WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), text_.data(),
                         static_cast<DWORD>(text_.size()), &written, nullptr) &&
               written == text_.size();
    }

private:
    std::string text_;
};

// A scratch page in the other process for the controls whose messages carry pointers that the
// system does not copy between processes (list view, tree view, status bar).
class RemotePage {
public:
    explicit RemotePage(HWND window)
    {
        DWORD pid = 0;
        GetWindowThreadProcessId(window, &pid);
        process_ =
            OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid);
        if (process_)
            base_ = static_cast<char*>(
                VirtualAllocEx(process_, nullptr, kSize, MEM_COMMIT, PAGE_READWRITE));
    }
    ~RemotePage()
    {
        if (base_) VirtualFreeEx(process_, base_, 0, MEM_RELEASE);
        if (process_) CloseHandle(process_);
    }
    RemotePage(const RemotePage&) = delete;
    RemotePage& operator=(const RemotePage&) = delete;

    bool ok() const { return base_ != nullptr; }
    // Layout of the page: a structure at the start, a text buffer after it.
    char* at(size_t offset) const { return base_ + offset; }
    bool Write(size_t offset, const void* data, size_t size) const
    {
        SIZE_T done = 0;
        return WriteProcessMemory(process_, base_ + offset, data, size, &done) && done == size;
    }
    bool Read(size_t offset, void* data, size_t size) const
    {
        SIZE_T done = 0;
        return ReadProcessMemory(process_, base_ + offset, data, size, &done) && done == size;
    }
    std::wstring ReadText(size_t offset, size_t chars) const
    {
        std::vector<wchar_t> buffer(chars + 1, L'\0');
        if (!Read(offset, buffer.data(), chars * sizeof(wchar_t))) return L"?";
        buffer[chars] = L'\0';
        return buffer.data();
    }

    static constexpr size_t kSize = 8192;
    static constexpr size_t kTextOffset = 1024;
    static constexpr size_t kTextChars = (kSize - kTextOffset) / sizeof(wchar_t) - 1;

private:
    HANDLE process_ = nullptr;
    char* base_ = nullptr;
};

LRESULT Send(HWND window, UINT message, WPARAM wparam, LPARAM lparam)
{
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutW(window, message, wparam, lparam, SMTO_ABORTIFHUNG, kTimeoutMs,
                             &result))
        return -1;
    return static_cast<LRESULT>(result);
}

std::wstring ClassOf(HWND window)
{
    wchar_t name[128] = {};
    GetClassNameW(window, name, 128);
    return name;
}

std::wstring TextOf(HWND window)
{
    wchar_t text[1024] = {};
    InternalGetWindowText(window, text, 1024);
    return text;
}

std::string Centre(HWND window, RECT rect)
{
    POINT centre = {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
    if (window) ClientToScreen(window, &centre);
    return std::to_string(centre.x) + "\t" + std::to_string(centre.y);
}

std::string WindowCentre(HWND window)
{
    RECT rect = {};
    GetWindowRect(window, &rect);
    return Centre(nullptr, rect);
}

void ListRows(Output& out, const std::string& top, HWND list)
{
    RemotePage page(list);
    if (!page.ok()) return;
    HWND header = reinterpret_cast<HWND>(Send(list, LVM_GETHEADER, 0, 0));
    LRESULT columns = header ? Send(header, HDM_GETITEMCOUNT, 0, 0) : 1;
    if (columns < 1) columns = 1;
    LRESULT rows = Send(list, LVM_GETITEMCOUNT, 0, 0);
    for (LRESULT row = 0; row < rows; ++row) {
        std::vector<std::string> fields = {"row", top, std::to_string(row)};
        LRESULT state = Send(list, LVM_GETITEMSTATE, row, LVIS_SELECTED);
        fields.push_back((state & LVIS_SELECTED) ? "1" : "0");
        RECT rect = {};
        rect.left = LVIR_LABEL;
        page.Write(0, &rect, sizeof rect);
        if (Send(list, LVM_GETITEMRECT, row, reinterpret_cast<LPARAM>(page.at(0))) > 0)
            page.Read(0, &rect, sizeof rect);
        fields.push_back(Centre(list, rect));
        for (LRESULT column = 0; column < columns; ++column) {
            LVITEMW item = {};
            item.iSubItem = static_cast<int>(column);
            item.pszText = reinterpret_cast<LPWSTR>(page.at(RemotePage::kTextOffset));
            item.cchTextMax = RemotePage::kTextChars;
            page.Write(0, &item, sizeof item);
            LRESULT length =
                Send(list, LVM_GETITEMTEXTW, row, reinterpret_cast<LPARAM>(page.at(0)));
            fields.push_back(length > 0 ? Utf8(page.ReadText(RemotePage::kTextOffset, length))
                                        : "");
        }
        out.Line(fields);
    }
}

void TreeItems(Output& out, const std::string& top, HWND tree, HTREEITEM item, int depth,
               RemotePage& page)
{
    for (; item; item = reinterpret_cast<HTREEITEM>(
                     Send(tree, TVM_GETNEXTITEM, TVGN_NEXT, reinterpret_cast<LPARAM>(item)))) {
        TVITEMW data = {};
        data.mask = TVIF_TEXT | TVIF_HANDLE;
        data.hItem = item;
        data.pszText = reinterpret_cast<LPWSTR>(page.at(RemotePage::kTextOffset));
        data.cchTextMax = RemotePage::kTextChars;
        page.Write(0, &data, sizeof data);
        std::wstring text;
        if (Send(tree, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(page.at(0))) > 0) {
            text = page.ReadText(RemotePage::kTextOffset, RemotePage::kTextChars);
        }
        LRESULT state = Send(tree, TVM_GETITEMSTATE, reinterpret_cast<WPARAM>(item),
                             TVIS_SELECTED | TVIS_EXPANDED);
        HTREEITEM child = reinterpret_cast<HTREEITEM>(
            Send(tree, TVM_GETNEXTITEM, TVGN_CHILD, reinterpret_cast<LPARAM>(item)));
        // The item's handle goes in where the rectangle comes back.
        RECT rect = {};
        page.Write(0, &item, sizeof item);
        std::string where = "-\t-";
        if (Send(tree, TVM_GETITEMRECT, TRUE, reinterpret_cast<LPARAM>(page.at(0))) > 0 &&
            page.Read(0, &rect, sizeof rect)) {
            where = Centre(tree, rect);
        }
        out.Line({"item", top, std::to_string(depth), (state & TVIS_SELECTED) ? "1" : "0",
                  (state & TVIS_EXPANDED) ? "1" : "0", child ? "1" : "0", where, Utf8(text)});
        TreeItems(out, top, tree, child, depth + 1, page);
    }
}

void StatusParts(Output& out, const std::string& top, HWND bar)
{
    RemotePage page(bar);
    if (!page.ok()) return;
    LRESULT parts = Send(bar, SB_GETPARTS, 0, 0);
    for (LRESULT part = 0; part < parts; ++part) {
        LRESULT length = LOWORD(Send(bar, SB_GETTEXTLENGTHW, part, 0));
        std::wstring text;
        if (length > 0 && static_cast<size_t>(length) < RemotePage::kTextChars) {
            Send(bar, SB_GETTEXTW, part,
                 reinterpret_cast<LPARAM>(page.at(RemotePage::kTextOffset)));
            text = page.ReadText(RemotePage::kTextOffset, length);
        }
        out.Line({"part", top, std::to_string(part), Utf8(text)});
    }
}

void ComboEntries(Output& out, const std::string& top, HWND combo)
{
    LRESULT count = Send(combo, CB_GETCOUNT, 0, 0);
    LRESULT current = Send(combo, CB_GETCURSEL, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        // Messages below WM_USER are copied between processes by the system.
        wchar_t text[MAX_PATH + 1] = {};
        LRESULT length = Send(combo, CB_GETLBTEXTLEN, i, 0);
        if (length >= 0 && length <= MAX_PATH)
            Send(combo, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(text));
        out.Line({"entry", top, std::to_string(i), i == current ? "1" : "0", Utf8(text)});
    }
}

struct TopLevel {
    HWND window;
    std::string title;
    Output* out;
};

BOOL CALLBACK DumpChild(HWND child, LPARAM param)
{
    const TopLevel& top = *reinterpret_cast<TopLevel*>(param);
    if (!IsWindowVisible(child)) return TRUE;
    std::wstring cls = ClassOf(child);
    LRESULT checked = 0;
    if (_wcsicmp(cls.c_str(), L"Button") == 0) checked = Send(child, BM_GETCHECK, 0, 0);
    RECT bounds = {};
    GetWindowRect(child, &bounds);
    top.out->Line({"control", top.title, std::to_string(GetDlgCtrlID(child)), Utf8(cls),
                   IsWindowEnabled(child) ? "1" : "0", std::to_string(checked), WindowCentre(child),
                   Utf8(TextOf(child)), std::to_string(bounds.right - bounds.left),
                   std::to_string(bounds.bottom - bounds.top)});
    if (_wcsicmp(cls.c_str(), WC_LISTVIEWW) == 0) ListRows(*top.out, top.title, child);
    if (_wcsicmp(cls.c_str(), STATUSCLASSNAMEW) == 0) StatusParts(*top.out, top.title, child);
    if (_wcsicmp(cls.c_str(), WC_COMBOBOXW) == 0) ComboEntries(*top.out, top.title, child);
    if (_wcsicmp(cls.c_str(), WC_TREEVIEWW) == 0) {
        RemotePage page(child);
        HTREEITEM root = reinterpret_cast<HTREEITEM>(Send(child, TVM_GETNEXTITEM, TVGN_ROOT, 0));
        if (page.ok()) TreeItems(*top.out, top.title, child, root, 0, page);
    }
    return TRUE;
}

BOOL CALLBACK DumpTopLevel(HWND window, LPARAM param)
{
    if (!IsWindowVisible(window)) return TRUE;
    Output& out = *reinterpret_cast<Output*>(param);
    TopLevel top = {window, Utf8(TextOf(window)), &out};
    // Untitled windows are left out, except open menus, so that a run can wait for one.
    bool menu = ClassOf(window) == L"#32768";
    if (top.title.empty() && !menu) return TRUE;
    if (menu) top.title = "menu";
    out.Line({"window", top.title, Utf8(ClassOf(window)), IsWindowEnabled(window) ? "1" : "0",
              WindowCentre(window)});
    EnumChildWindows(window, DumpChild, reinterpret_cast<LPARAM>(&top));
    // The control that has the keyboard, as its thread tells another process.
    GUITHREADINFO thread = {};
    thread.cbSize = sizeof(thread);
    if (GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &thread) &&
        thread.hwndFocus != nullptr && IsChild(window, thread.hwndFocus)) {
        out.Line({"focus", top.title, std::to_string(GetDlgCtrlID(thread.hwndFocus)),
                  Utf8(ClassOf(thread.hwndFocus)), Utf8(TextOf(thread.hwndFocus))});
    }
    return TRUE;
}

// A piece of the screen as Glimmer drew it, as a grid of dark (ink) and light pixels.
class Ink {
public:
    explicit Ink(const RECT& screen)
    {
        width_ = screen.right - screen.left;
        height_ = screen.bottom - screen.top;
        if (width_ <= 0 || height_ <= 0) return;
        HDC display = GetDC(nullptr);
        HDC copy = CreateCompatibleDC(display);
        BITMAPINFO info = {};
        info.bmiHeader.biSize = sizeof(info.bmiHeader);
        info.bmiHeader.biWidth = width_;
        info.bmiHeader.biHeight = -height_;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        void* bits = nullptr;
        HBITMAP bitmap = CreateDIBSection(copy, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        if (bitmap != nullptr && bits != nullptr) {
            HGDIOBJ old = SelectObject(copy, bitmap);
            BitBlt(copy, 0, 0, width_, height_, display, screen.left, screen.top, SRCCOPY);
            GdiFlush();
            const auto* pixels = static_cast<const DWORD*>(bits);
            dark_.resize(static_cast<size_t>(width_) * height_);
            for (size_t i = 0; i < dark_.size(); ++i) {
                const DWORD p = pixels[i];
                const int light = ((p >> 16) & 0xFF) * 3 + ((p >> 8) & 0xFF) * 6 + (p & 0xFF);
                dark_[i] = light < 0x80 * 10;
            }
            SelectObject(copy, old);
            DeleteObject(bitmap);
        }
        DeleteDC(copy);
        ReleaseDC(nullptr, display);
    }

    bool At(int x, int y) const { return dark_[static_cast<size_t>(y) * width_ + x]; }
    int Width() const { return width_; }
    int Height() const { return height_; }
    bool Empty() const { return dark_.empty(); }

private:
    int width_ = 0;
    int height_ = 0;
    std::vector<bool> dark_;
};

// A glyph: columns with ink, set off from the next by a column without.
struct Glyph {
    int left, right, top, bottom;  // right and bottom inclusive
    int widestRow;
};

std::vector<Glyph> Glyphs(const Ink& ink, int top, int bottom)
{
    std::vector<Glyph> glyphs;
    for (int x = 0; x < ink.Width(); ++x) {
        bool inked = false;
        for (int y = top; y <= bottom && !inked; ++y) inked = ink.At(x, y);
        if (!inked) continue;
        if (glyphs.empty() || glyphs.back().right != x - 1) {
            glyphs.push_back({x, x, bottom, top, 0});
        }
        Glyph& glyph = glyphs.back();
        glyph.right = x;
        for (int y = top; y <= bottom; ++y) {
            if (!ink.At(x, y)) continue;
            glyph.top = y < glyph.top ? y : glyph.top;
            glyph.bottom = y > glyph.bottom ? y : glyph.bottom;
        }
    }
    for (Glyph& glyph : glyphs) {
        for (int y = glyph.top; y <= glyph.bottom; ++y) {
            int row = 0;
            for (int x = glyph.left; x <= glyph.right; ++x) row += ink.At(x, y) ? 1 : 0;
            glyph.widestRow = row > glyph.widestRow ? row : glyph.widestRow;
        }
    }
    return glyphs;
}

// The lines of text in a piece: runs of rows with ink, split by rows without.
std::vector<std::pair<int, int>> Lines(const Ink& ink)
{
    std::vector<std::pair<int, int>> lines;
    for (int y = 0; y < ink.Height(); ++y) {
        bool inked = false;
        for (int x = 0; x < ink.Width() && !inked; ++x) inked = ink.At(x, y);
        if (!inked) continue;
        if (lines.empty() || lines.back().second != y - 1) lines.push_back({y, y});
        lines.back().second = y;
    }
    return lines;
}

// An underscore: a bar of three or more pixels below the baseline of the letters from `left`
// on, which have no descenders.
const char* Underscore(const Ink& ink, int left, int baseline, int bottom)
{
    for (int y = baseline + 1; y <= bottom; ++y) {
        int run = 0;
        for (int x = left; x < ink.Width(); ++x) {
            run = ink.At(x, y) ? run + 1 : 0;
            if (run >= 3) return "drawn";
        }
    }
    return "missing";
}

// A backslash is a thin diagonal; the yen sign has bars as wide as itself.
const char* Backslash(const Glyph& glyph)
{
    const int width = glyph.right - glyph.left + 1;
    return width >= 4 && glyph.widestRow * 4 >= width * 3 ? "yen" : "backslash";
}

// How a line whose text starts with "\" and holds an underscore among letters that sit on the
// baseline (no descenders) was drawn: its first glyph as a backslash or a yen sign; the
// underscore under the baseline that the second glyph, a letter, sits on, or cut off.
std::vector<std::string> Judge(const Ink& ink, int top, int bottom)
{
    const std::vector<Glyph> glyphs = Glyphs(ink, top, bottom);
    if (glyphs.size() < 3) return {"unread", "unread"};
    return {Backslash(glyphs[0]), Underscore(ink, glyphs[1].left, glyphs[1].bottom, bottom)};
}

// The screen rectangle of a list view's cell, or a status bar's part, through the page.
RECT RemoteRect(HWND control, UINT message, WPARAM which, RECT asked)
{
    RemotePage page(control);
    RECT rect = {};
    if (!page.ok() || !page.Write(0, &asked, sizeof asked)) return rect;
    if (Send(control, message, which, reinterpret_cast<LPARAM>(page.at(0))) > 0)
        page.Read(0, &rect, sizeof rect);
    MapWindowPoints(control, nullptr, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

// Inside a cell or part: off its edges, where a focus rectangle or a border is drawn, but
// not off the text's lowest rows, where an underscore stands.
RECT Inside(RECT rect)
{
    InflateRect(&rect, -2, -1);
    return rect;
}

// How a one-line piece of the screen, a cell or a part, drew the test's path.
void JudgeLine(Output& out, const char* where, const RECT& screen)
{
    const Ink ink(screen);
    const std::vector<std::string> verdict = ink.Empty()
                                                 ? std::vector<std::string>{"unread", "unread"}
                                                 : Judge(ink, 0, ink.Height() - 1);
    out.Line({"drawn", where, verdict[0], verdict[1]});
}

struct Found {
    const wchar_t* className;
    HWND window = nullptr;
};

BOOL CALLBACK FindChild(HWND child, LPARAM param)
{
    Found& found = *reinterpret_cast<Found*>(param);
    wchar_t name[64] = L"";
    GetClassNameW(child, name, 64);
    // A box's message is the static control whose text has a line break.
    if (_wcsicmp(name, found.className) == 0 &&
        (_wcsicmp(name, L"Static") != 0 || TextOf(child).find(L'\n') != std::wstring::npos)) {
        found.window = child;
        return FALSE;
    }
    return TRUE;
}

HWND ChildOf(HWND window, const wchar_t* className)
{
    Found found = {className};
    EnumChildWindows(window, FindChild, reinterpret_cast<LPARAM>(&found));
    return found.window;
}

// How Glimmer's own windows drew a path: the list's first row (Folder cell and Name cell), the
// status bar's first part, and the last line of the box of the given title. The texts are the
// test's: a folder and a file name without descenders, the name with an underscore.
void JudgeDrawing(Output& out, const std::wstring& boxTitle)
{
    HWND main = FindWindowW(nullptr, L"Glimmer");
    HWND list = main != nullptr ? ChildOf(main, WC_LISTVIEWW) : nullptr;
    HWND bar = main != nullptr ? ChildOf(main, STATUSCLASSNAMEW) : nullptr;
    if (list != nullptr) {
        RECT folder = {LVIR_LABEL, 1, 0, 0};
        RECT name = {LVIR_LABEL, 0, 0, 0};
        const RECT folderCell = RemoteRect(list, LVM_GETSUBITEMRECT, 0, folder);
        const RECT nameCell = RemoteRect(list, LVM_GETSUBITEMRECT, 0, name);
        // The folder's backslash, and the name's underscore under the name's first letter.
        const Ink folderInk(Inside(folderCell));
        const Ink nameInk(Inside(nameCell));
        const std::vector<Glyph> folderGlyphs =
            folderInk.Empty() ? std::vector<Glyph>() : Glyphs(folderInk, 0, folderInk.Height() - 1);
        const std::vector<Glyph> nameGlyphs =
            nameInk.Empty() ? std::vector<Glyph>() : Glyphs(nameInk, 0, nameInk.Height() - 1);
        out.Line({"drawn", "list", folderGlyphs.empty() ? "unread" : Backslash(folderGlyphs[0]),
                  nameGlyphs.empty() ? "unread"
                                     : Underscore(nameInk, nameGlyphs[0].left, nameGlyphs[0].bottom,
                                                  nameInk.Height() - 1)});
    }
    if (bar != nullptr) JudgeLine(out, "status", Inside(RemoteRect(bar, SB_GETRECT, 0, RECT{})));
    HWND box = nullptr;
    for (HWND window = FindWindowExW(nullptr, nullptr, nullptr, boxTitle.c_str());
         window != nullptr && box == nullptr;
         window = FindWindowExW(nullptr, window, nullptr, boxTitle.c_str())) {
        if (IsWindowVisible(window)) box = window;
    }
    HWND message = box != nullptr ? ChildOf(box, L"Static") : nullptr;
    if (message != nullptr) {
        // The path is the text's last line. A line's descenders may touch the next line's ink,
        // and the control may be higher than its text: the lines are cut from the inked rows by
        // their number.
        RECT text;
        GetWindowRect(message, &text);
        const std::wstring said = TextOf(message);
        const int lines = 1 + static_cast<int>(std::count(said.begin(), said.end(), L'\n'));
        const Ink ink(text);
        const std::vector<std::pair<int, int>> inked =
            ink.Empty() ? std::vector<std::pair<int, int>>() : Lines(ink);
        std::vector<std::string> verdict = {"unread", "unread"};
        if (!inked.empty()) {
            const int first = inked.front().first;
            const int last = inked.back().second;
            verdict = Judge(ink, first + (last - first + 1) * (lines - 1) / lines, last);
        }
        out.Line({"drawn", "message", verdict[0], verdict[1]});
    }
}

}  // namespace

// The family of the font the system draws a font name with: a dialog template names its font,
// and what the name stands for is the system's (record "face NAME FAMILY").
void FaceOf(Output& out, const wchar_t* name)
{
    LOGFONTW description = {};
    description.lfHeight = -12;
    description.lfCharSet = DEFAULT_CHARSET;
    wcsncpy(description.lfFaceName, name, LF_FACESIZE - 1);
    HFONT font = CreateFontIndirectW(&description);
    HDC screen = GetDC(nullptr);
    const HGDIOBJ old = SelectObject(screen, font);
    // The family of the font file itself: the face name would repeat a substitute's name.
    std::wstring face;
    const UINT size = GetOutlineTextMetricsW(screen, 0, nullptr);
    if (size > 0) {
        std::vector<char> metrics(size);
        auto* outline = reinterpret_cast<OUTLINETEXTMETRICW*>(metrics.data());
        if (GetOutlineTextMetricsW(screen, size, outline) > 0) {
            face = reinterpret_cast<const wchar_t*>(
                metrics.data() + reinterpret_cast<size_t>(outline->otmpFamilyName));
        }
    }
    SelectObject(screen, old);
    ReleaseDC(nullptr, screen);
    DeleteObject(font);
    out.Line({"face", Utf8(name), Utf8(face)});
}

// With the arguments "drawn BOX_TITLE", how Glimmer's windows drew the test's path (records
// "drawn WHERE BACKSLASH UNDERSCORE"); with "face NAME", the face a font name is drawn with;
// otherwise what the windows show.
int wmain(int argc, wchar_t** argv)
{
    Output out;
    if (argc > 2 && wcscmp(argv[1], L"drawn") == 0) {
        JudgeDrawing(out, argv[2]);
    } else if (argc > 2 && wcscmp(argv[1], L"face") == 0) {
        FaceOf(out, argv[2]);
    } else {
        EnumWindows(DumpTopLevel, reinterpret_cast<LPARAM>(&out));
    }
    return out.Flush() ? 0 : 1;
}
