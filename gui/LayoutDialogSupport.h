// What the page-layout dialogs share: their texts, the copy of the working settings they edit,
// the item data of their combo boxes and the way they lay out a labelled control.
#pragma once

#include "core/WinTypes.h"
#include "core/settings/DevMode.h"

#include <gtk/gtk.h>

struct tagDIALOGINFO;
class xComboBox;
class xLabel;
class xTable;
class xWidget;

// The dialog-info record of the loaded queue; NULL when none is loaded.
tagDIALOGINFO* LoadedDialogInfo();

// The text of (section, id) through the main window; NULL when there is none (or no window).
const char* LayoutDialogText(WORD wSection, WORD wID);

// The loaded queue's working settings into pdm; zeros when no queue is loaded.
void CopyWorkingSettings(DRVDEVMODE* pdm);
// All 1232 bytes of pdm over the loaded queue's working settings; nothing when none is loaded.
void WriteWorkingSettings(const DRVDEVMODE& dm);

// A combo row's item data for a value, and the selected row's value (0 when none is selected).
gpointer ValueData(long lValue);
long SelectedValue(xComboBox* pCombo);

// A field label of the dialog (its owner): left-aligned, vertically centred.
xLabel* NewFieldLabel(const char* pszText, xWidget* pOwner);

// A table or box border and the spacing around the controls in the dialogs' tables.
constexpr unsigned int kLayoutBorder = 6;

// The label in column 0 and its control in column 1 of a table row; the mnemonic of the label
// points at the target, or at the control when the target is NULL.
void AttachLabelled(xTable* pTable, unsigned int nRow, xLabel* pLabel, xWidget* pControl,
                    xWidget* pMnemonicTarget = nullptr);
