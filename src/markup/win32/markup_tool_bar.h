#pragma once
// The markup tools as a column of buttons beside the picture, their pictures drawn at the
// window's density. Each button sends its tool's menu command to the parent window.
#include <windows.h>
#include <commctrl.h>

#include "commands/command_table.h"
#include "markup/mark.h"
#include "markup/text_shaper.h"
#include "util/win32/handles.h"

namespace vimbrel::win32 {

struct ImageListTraits {
    static HIMAGELIST Invalid() { return nullptr; }
    static void Close(HIMAGELIST h) { ::ImageList_Destroy(h); }
};
using UniqueImageList = UniqueHandleT<HIMAGELIST, ImageListTraits>;

class MarkupToolBar {
public:
    MarkupToolBar(const CommandTable& table, const TextShaper& shaper) : table_(table), shaper_(shaper) {}
    ~MarkupToolBar();
    MarkupToolBar(const MarkupToolBar&) = delete;
    MarkupToolBar& operator=(const MarkupToolBar&) = delete;

    // Made (again) on `parent` at `dpi`; the tool that was checked stays checked.
    void Create(HWND parent, int dpi);
    HWND Handle() const { return bar_; }
    int Width() const { return width_; }
    void Check(MarkTool tool);

private:
    const CommandTable& table_;
    const TextShaper& shaper_;
    HWND bar_ = nullptr;
    UniqueImageList images_;
    int width_ = 0;
    MarkTool checked_ = MarkTool::Select;
};

}  // namespace vimbrel::win32
