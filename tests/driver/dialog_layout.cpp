#include "dialog_layout.h"

#include "util/win32/gdi_handles.h"
#include "vimbrel_process.h"

namespace e2e {
namespace {

std::string Caption(HWND control) {
    const std::string text = WindowText(control);
    std::string shown;
    for (const char* p = text.c_str(); *p; ++p) {
        if (*p == '&' && p[1]) ++p;  // the mnemonic's mark takes no room, "&&" shows one
        shown += *p;
    }
    return shown;
}

std::string Describe(HWND control, const RECT& r) {
    return "'" + Caption(control) + "' (" + std::to_string(::GetDlgCtrlID(control)) + ") at " +
           std::to_string(r.left) + "," + std::to_string(r.top) + "-" + std::to_string(r.right) + "," +
           std::to_string(r.bottom);
}

bool IsPushButton(HWND control) {
    const LONG type = ::GetWindowLongA(control, GWL_STYLE) & BS_TYPEMASK;
    return type == BS_PUSHBUTTON || type == BS_DEFPUSHBUTTON;
}

// The caption's width in the dialog font, measured here: fonts are not shared between processes.
int CaptionWidth(const std::string& caption, int dpi) {
    vimbrel::win32::UniqueMemoryDC dc(::CreateCompatibleDC(nullptr));
    LOGFONTA lf{};
    lf.lfHeight = -::MulDiv(8, dpi, 72);
    lstrcpynA(lf.lfFaceName, "Arial", LF_FACESIZE);
    vimbrel::win32::UniqueFont font(::CreateFontIndirectA(&lf));
    vimbrel::win32::SelectedObject selected(dc.get(), font.get());
    SIZE size{};
    ::GetTextExtentPoint32A(dc.get(), caption.c_str(), int(caption.size()), &size);
    return size.cx;
}

}  // namespace

std::vector<std::string> ClippedButtons(HWND dialog, int dpi) {
    struct Search {
        HWND dialog;
        int dpi;
        RECT client;
        std::vector<std::string> clipped;
    } search{dialog, dpi, {}, {}};
    ::GetClientRect(dialog, &search.client);
    ::MapWindowPoints(dialog, nullptr, reinterpret_cast<POINT*>(&search.client), 2);
    ::EnumChildWindows(dialog, [](HWND c, LPARAM lp) -> BOOL {
        auto* s = reinterpret_cast<Search*>(lp);
        char cls[32] = {};
        ::GetClassNameA(c, cls, sizeof cls);
        if (lstrcmpiA(cls, "Button") != 0) return TRUE;
        RECT r;
        ::GetWindowRect(c, &r);
        RECT inside;
        ::IntersectRect(&inside, &r, &s->client);
        if (!::EqualRect(&inside, &r)) s->clipped.push_back(Describe(c, r) + " outside the client area");
        // A push button draws its caption within its edges.
        const int room = (r.right - r.left) - 2 * ::GetSystemMetricsForDpi(SM_CXEDGE, UINT(s->dpi));
        const std::string caption = Caption(c);
        if (IsPushButton(c) && CaptionWidth(caption, s->dpi) > room)
            s->clipped.push_back(Describe(c, r) + " narrower than its caption (" +
                                 std::to_string(CaptionWidth(caption, s->dpi)) + " pixels)");
        return TRUE;
    }, LPARAM(&search));
    return search.clipped;
}

}  // namespace e2e
