#pragma once
// A command control's identity: every menu item, tool button and tray item of the main
// window has a name of type CommandName. The constants below are the main window's own
// controls, which several command groups ask about (Print1 enabled means there is a picture
// to print); the command table (commands/command_table.h) gives each its caption, shortcut
// and handler, and the command states (util/command_states.h) are kept by name.
#include <array>

#include "util/named_constant.h"

namespace vimbrel {

// No name: a menu separator.
using CommandName = NamedConstant<struct CommandNameTag>;

// Declares a control's name; a command group declares the names of its own controls with
// it in a header of its own, inside namespace vimbrel::cmd.
#define VIMBREL_COMMAND(name) inline constexpr ::vimbrel::CommandName name{#name}

namespace cmd {

VIMBREL_COMMAND(mnuFile);
VIMBREL_COMMAND(mnuOpenFile);
VIMBREL_COMMAND(Save1);
VIMBREL_COMMAND(SaveAs1);
VIMBREL_COMMAND(SaveAs2);
VIMBREL_COMMAND(mnuEncryption);
VIMBREL_COMMAND(mnuSaveEncrypted);
VIMBREL_COMMAND(EncryptaFile1);
VIMBREL_COMMAND(OpenanEncryptedFile1);
VIMBREL_COMMAND(mnuSendMail);
VIMBREL_COMMAND(PrintSetup1);
VIMBREL_COMMAND(PrintPreview1);
VIMBREL_COMMAND(Print1);
VIMBREL_COMMAND(Exit1);
VIMBREL_COMMAND(mnuEdit);
VIMBREL_COMMAND(mnuUndo);
VIMBREL_COMMAND(mnuCopy);
VIMBREL_COMMAND(mnuPaste);
VIMBREL_COMMAND(Clear1);
VIMBREL_COMMAND(mnuOptionsMenu);
VIMBREL_COMMAND(mnuOptions);
VIMBREL_COMMAND(mnuSetScreen);
VIMBREL_COMMAND(mnuSetArea);
VIMBREL_COMMAND(mnuImage);
VIMBREL_COMMAND(mnuZoomIn);
VIMBREL_COMMAND(mnuZoomOut);
VIMBREL_COMMAND(mOptGrey);
VIMBREL_COMMAND(mnuNegative);
VIMBREL_COMMAND(mnuAddCursor);
VIMBREL_COMMAND(curAdd1);
VIMBREL_COMMAND(curAdd2);
VIMBREL_COMMAND(crAdd3);
VIMBREL_COMMAND(crAdd4);
VIMBREL_COMMAND(mnuEditor);
VIMBREL_COMMAND(mnuHelp);
VIMBREL_COMMAND(mnuHelpContent);
VIMBREL_COMMAND(mnuHelpCapture);
VIMBREL_COMMAND(mnuHelpPrint);
VIMBREL_COMMAND(mnuHelpSave);
VIMBREL_COMMAND(mnuHelpContact);
VIMBREL_COMMAND(mnuWebLink);
VIMBREL_COMMAND(mnuWebLink2);
VIMBREL_COMMAND(About1);
VIMBREL_COMMAND(mnuRestore);
VIMBREL_COMMAND(mnuAutoPrint);
VIMBREL_COMMAND(mnuAutoSave);
VIMBREL_COMMAND(mnuNotes);
VIMBREL_COMMAND(mnuCapScreenNow);
VIMBREL_COMMAND(mnuCapActiveNow);
VIMBREL_COMMAND(mnuCaptureAreaNow);
VIMBREL_COMMAND(mnuHelp1);
VIMBREL_COMMAND(mnuVisit1);
VIMBREL_COMMAND(mnuClose);
VIMBREL_COMMAND(Openfile1);
VIMBREL_COMMAND(popSave);
VIMBREL_COMMAND(popEmail);
VIMBREL_COMMAND(popSendToEditor);
VIMBREL_COMMAND(popUndo);
VIMBREL_COMMAND(popClear);
VIMBREL_COMMAND(popCopy);
VIMBREL_COMMAND(popPaste);
VIMBREL_COMMAND(popCrop);
VIMBREL_COMMAND(popGrey);
VIMBREL_COMMAND(popAutoPrint);
VIMBREL_COMMAND(popAutoSave);
VIMBREL_COMMAND(popNotes);
VIMBREL_COMMAND(popPreview);
VIMBREL_COMMAND(popPrint);
VIMBREL_COMMAND(btnOpenFile);
VIMBREL_COMMAND(btnSave);
VIMBREL_COMMAND(btnEmail);
VIMBREL_COMMAND(btnPrtSetup);
VIMBREL_COMMAND(btnPrtPreview);
VIMBREL_COMMAND(PrintButton);
VIMBREL_COMMAND(btnUndo);
VIMBREL_COMMAND(btnCopy);
VIMBREL_COMMAND(btnPaste);
VIMBREL_COMMAND(btnClear);
VIMBREL_COMMAND(btnCrop);
VIMBREL_COMMAND(btnSelect);
VIMBREL_COMMAND(btnOptions);
VIMBREL_COMMAND(btnHelp);
VIMBREL_COMMAND(CancelButton);

// The zoom items: zmi01 to zmi16 (11 to 16 hidden) and zmo01 to zmo10.
VIMBREL_COMMAND(zmi01);
VIMBREL_COMMAND(zmi02);
VIMBREL_COMMAND(zmi03);
VIMBREL_COMMAND(zmi04);
VIMBREL_COMMAND(zmi05);
VIMBREL_COMMAND(zmi06);
VIMBREL_COMMAND(zmi07);
VIMBREL_COMMAND(zmi08);
VIMBREL_COMMAND(zmi09);
VIMBREL_COMMAND(zmi10);
VIMBREL_COMMAND(zmi11);
VIMBREL_COMMAND(zmi12);
VIMBREL_COMMAND(zmi13);
VIMBREL_COMMAND(zmi14);
VIMBREL_COMMAND(zmi15);
VIMBREL_COMMAND(zmi16);
VIMBREL_COMMAND(zmo01);
VIMBREL_COMMAND(zmo02);
VIMBREL_COMMAND(zmo03);
VIMBREL_COMMAND(zmo04);
VIMBREL_COMMAND(zmo05);
VIMBREL_COMMAND(zmo06);
VIMBREL_COMMAND(zmo07);
VIMBREL_COMMAND(zmo08);
VIMBREL_COMMAND(zmo09);
VIMBREL_COMMAND(zmo10);

inline constexpr std::array<CommandName, 16> kZoomInItems{zmi01, zmi02, zmi03, zmi04, zmi05, zmi06, zmi07, zmi08, zmi09, zmi10, zmi11, zmi12, zmi13, zmi14, zmi15, zmi16};
inline constexpr std::array<CommandName, 10> kZoomOutItems{zmo01, zmo02, zmo03, zmo04, zmo05, zmo06, zmo07, zmo08, zmo09, zmo10};

// "k : 1" (ZoomIn(k)) and "1 : k" (ZoomOut(k)); k from 1.
constexpr CommandName ZoomIn(int k) { return kZoomInItems.at(std::size_t(k - 1)); }
constexpr CommandName ZoomOut(int k) { return kZoomOutItems.at(std::size_t(k - 1)); }

}  // namespace cmd
}  // namespace vimbrel
