#include "app/main_form_rules.h"

namespace vimbrel {
namespace {
constexpr int kVkPrior = 0x21, kVkNext = 0x22, kVkF1 = 0x70, kVkF2 = 0x71;
}

std::string AppTitleFor(const std::string& caption) { return caption + "   "; }

OptionIndicators IndicatorsFor(const std::string& appTitle, bool autoPrint, bool autoSave, bool printNotes) {
    OptionIndicators ind;
    ind.panel1 = autoPrint ? "Auto Print" : "";
    ind.panel2 = autoSave ? "Auto Save" : "";
    ind.panel3 = printNotes ? "Print Notes" : "";
    ind.trayHint = appTitle;
    if (autoPrint) ind.trayHint += "Auto Print On";
    if (autoSave) ind.trayHint += "  Auto Save On";
    return ind;
}

MainFormMetrics MainFormMetricsAt(int dpi) {
    MainFormMetrics m{};
    m.dpi = dpi;
    m.client = Size{ScaleToDpi(kDesignClientWidth, dpi), ScaleToDpi(kDesignClientHeight, dpi)};
    m.toolBarHeight = ScaleToDpi(kToolBarHeight, dpi);
    m.buttonSize = ScaleToDpi(25, dpi);
    m.separatorWidth = ScaleToDpi(6, dpi);
    // The system draws its tool bar pictures at 16 and 24 pixels; the larger set from 1.5 times on.
    m.buttonImageSize = ScaleToDpi(16, dpi) >= 24 ? 24 : 16;
    m.statusFontHeight = ScaleToDpi(11, dpi);
    for (int i = 0; i < 4; ++i) m.statusPanelWidths[i] = ScaleToDpi(kStatusPanelWidths[i], dpi);
    m.cursorItem = Size{ScaleToDpi(8, dpi), ScaleToDpi(18, dpi)};
    return m;
}

int StatusPanel0Width(int statusBarWidth, int dpi) {
    const MainFormMetrics m = MainFormMetricsAt(dpi);
    return statusBarWidth - (m.statusPanelWidths[1] + m.statusPanelWidths[2] + m.statusPanelWidths[3]);
}

Handler ClassifyFormKey(int virtualKey, bool ctrl, const CommandStates& commands) {
    if (ctrl && virtualKey == kVkPrior) return handler::PreviousNumberedFile;
    if (ctrl && virtualKey == kVkNext) return handler::NextNumberedFile;
    if (ctrl && virtualKey == 'N' && commands.Enabled(cmd::Print1)) return handler::PrintWithNotes;
    if (ctrl && virtualKey == kVkF2 && commands.Enabled(cmd::SaveAs1)) return handler::NumberedSave;
    if (!ctrl && virtualKey == kVkF1) return handler::HelpContents;
    return handler::None;
}

}  // namespace vimbrel

namespace vimbrel {
std::string HelpPageFor(int context) {
    switch (context) {
    case 100: return "Vimbrel-capture.htm";
    case 200: return "Vimbrel-print.htm";
    case 300: return "Vimbrel-save.htm";
    case 410: return "Vimbrel-options-capture.htm";
    case 420: return "Vimbrel-options-print.htm";
    case 430: return "Vimbrel-options-save.htm";
    case 440: return "Vimbrel-options-other.htm";
    case 500: return "Vimbrel-contact.htm";
    default: return "Vimbrel.htm";
    }
}
}  // namespace vimbrel
