#pragma once

#include <QtGlobal>

// The toolbar's tools by the ids the toolbar layout gives them, and the
// bands the form addresses. One list for the dispatcher, the read-only mode
// and design mode.
namespace ToolIds {

enum : qint32 {
    Submit = 1,
    ClearAll = 2,
    Revert = 3,
    DesignMode = 4,
    SaveLayout = 5,
    ResetLayout = 6,
    Close = 7,
    AlignInputsLeft = 8,
    AlignLabelsLeft = 9,
    SameWidth = 10,
    ValueTables = 11,
    MakeTextField = 13,
    // The table popup's tools: table k of the value tables is FirstTable + k;
    // only the first 51 tables can be chosen.
    FirstTable = 1000,
    LastTable = 1050,
};

// The tools that change the record: only an entry the user may edit has them.
inline constexpr qint32 RecordTools[] = {Submit, ClearAll, Revert};
// The tools that work on the layout: enabled in design mode only.
inline constexpr qint32 LayoutTools[] = {SaveLayout, ResetLayout, ValueTables};
// The data tools that design mode disables.
inline constexpr qint32 DataTools[] = {Submit, ClearAll, Revert, Close};

// The band shown while the layout is designed (by index), and the bands by name.
constexpr int DesignBandIndex = 1;
inline constexpr char MainBand[] = "Band1";
inline constexpr char FieldPopup[] = "TF Field Popup";
inline constexpr char TablePopup[] = "Table Name Popup";

} // namespace ToolIds
