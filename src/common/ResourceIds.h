#pragma once

#include <QtGlobal>

#include <array>

// Every text the component shows, by its number in the language catalogs.
// Use these names rather than bare numbers: the catalog test walks ALL, so a
// text asked for here cannot go missing from the shipped catalog.
namespace ResourceIds {

// Buttons and message boxes
constexpr qint32 OK_CAPTION = 15031;
constexpr qint32 CANCEL_CAPTION = 15032;
constexpr qint32 YES_CAPTION = 15402;
constexpr qint32 NO_CAPTION = 15403;
constexpr qint32 MSGBOX_TITLE = 2173;

// Main window
constexpr qint32 FORM_CAPTION = 15398;
constexpr qint32 FORM_CAPTION_VIEW_ONLY = 15399;
constexpr qint32 KEEP_CHANGES_QUESTION = 15383;
constexpr qint32 KEEP_CHANGES_QUESTION_NAMED = 15981; // "%1" the entry
// "%1" the entry, "%2" when the draft was saved, "%3" the fields it changes
constexpr qint32 DRAFT_QUESTION = 15982;
constexpr qint32 DRAFTS_SET_ASIDE_NOTICE = 15983; // "%1" where the damaged file went
constexpr qint32 ACR_CODE_LABEL = 15373;
constexpr qint32 ACR_BUTTON = 15378;
constexpr qint32 ANGIO_BUTTON = 15957;
constexpr qint32 END_MARKER_LABEL = 15389;
constexpr qint32 SUBMITTED_BY_LABEL = 15410;
constexpr qint32 DATE_SUBMITTED_LABEL = 15411;
constexpr qint32 AFIP_CHECKBOX = 15412;

// Submit
constexpr qint32 SUBMIT_QUESTION = 1154;
constexpr qint32 SUBMIT_SUCCEEDED = 15426;
constexpr qint32 SUBMIT_REJECTED = 1135;
constexpr qint32 SUBMIT_FAILED = 1134;
constexpr qint32 CLEARED_STATUS = 15980;
constexpr qint32 ANATOMY_HEADING = 15375;
constexpr qint32 PATHOLOGY_HEADING = 15392;

// The patient-identifier check at Submit
constexpr qint32 IDENTIFIER_QUESTION = 16101;        // "%1" the findings, one a line
constexpr qint32 IDENTIFIER_FINDING = 16102;         // "%1" field, "%2" the text found
constexpr qint32 IDENTIFIER_PATTERN_INVALID = 16103; // "%1" the pattern's name and error

// Design mode and layout saving
constexpr qint32 DESIGN_MODE_TOOL = 15382;
constexpr qint32 DESIGN_MODE_TOOL_ACTIVE = 15386;
constexpr qint32 DESIGN_MODE_STATUS = 15384;
constexpr qint32 TABLE_MISSING_NOTICE = 17; // "%s" caption, then "%s" table name
constexpr qint32 SAVING_LAYOUT_STATUS = 15396;
constexpr qint32 WRITING_FIELDS_STATUS = 15395;
constexpr qint32 UPDATING_CAPTIONS_STATUS = 15401;
constexpr qint32 LAYOUT_NOT_SAVED = 15387;

// ACR code picker
constexpr qint32 ACR_FORM_CAPTION = 15372;
constexpr qint32 GO_UP_TOOLTIP = 15388;
constexpr qint32 PATHOLOGIC_BUTTON = 15393;
constexpr qint32 ANATOMY_BUTTON = 15376;
constexpr qint32 PATHOLOGIC_EXPANSION_LABEL = 15394;
constexpr qint32 PATH_CODE_LABEL = 15391;
constexpr qint32 ANAT_CODE_LABEL = 15374;
constexpr qint32 ANATOMY_EXPANSION_LABEL = 15377;

// Angio code picker
constexpr qint32 ANGIO_FORM_CAPTION = 15955;
constexpr qint32 ANGIO_EXPANSION_LABEL = 15956;
constexpr qint32 ANGIO_CODE_LABEL = 16029;

// Searching either code picker
constexpr qint32 CODE_SEARCH_LABEL = 16040;
constexpr qint32 CODE_SEARCH_PLACEHOLDER = 16041;
constexpr qint32 CODE_SEARCH_NO_MATCH = 16042;

// Value tables
constexpr qint32 TABLES_CAPTION = 15958;
constexpr qint32 ADD_BUTTON = 15959;
constexpr qint32 EDIT_BUTTON = 15960;
constexpr qint32 DELETE_BUTTON = 15961;
constexpr qint32 DELETE_TABLE_QUESTION = 14; // "%s" table name
// "%s" table name, then "%s" the captions of the fields it feeds
constexpr qint32 DELETE_USED_TABLE_QUESTION = 25;
constexpr qint32 NEW_TABLE_CAPTION = 15962;
constexpr qint32 EDIT_TABLE_CAPTION = 15963;
constexpr qint32 TABLE_NAME_LABEL = 15964;
constexpr qint32 TABLE_NAME_EMPTY = 13;
constexpr qint32 TABLE_NAME_TAKEN = 16;
constexpr qint32 TABLE_NAME_LEADING_BLANK = 24;
constexpr qint32 NEW_VALUE_CAPTION = 15966;
constexpr qint32 VALUE_LABEL = 15967;
constexpr qint32 INPUT_BOX_CAPTION = 15381;
constexpr qint32 INPUT_BOX_PROMPT = 15385;

inline constexpr std::array ALL = {
    OK_CAPTION,
    CANCEL_CAPTION,
    YES_CAPTION,
    NO_CAPTION,
    MSGBOX_TITLE,
    FORM_CAPTION,
    FORM_CAPTION_VIEW_ONLY,
    KEEP_CHANGES_QUESTION,
    KEEP_CHANGES_QUESTION_NAMED,
    DRAFT_QUESTION,
    DRAFTS_SET_ASIDE_NOTICE,
    ACR_CODE_LABEL,
    ACR_BUTTON,
    ANGIO_BUTTON,
    END_MARKER_LABEL,
    SUBMITTED_BY_LABEL,
    DATE_SUBMITTED_LABEL,
    AFIP_CHECKBOX,
    SUBMIT_QUESTION,
    SUBMIT_SUCCEEDED,
    SUBMIT_REJECTED,
    SUBMIT_FAILED,
    CLEARED_STATUS,
    ANATOMY_HEADING,
    PATHOLOGY_HEADING,
    DESIGN_MODE_TOOL,
    DESIGN_MODE_TOOL_ACTIVE,
    DESIGN_MODE_STATUS,
    TABLE_MISSING_NOTICE,
    SAVING_LAYOUT_STATUS,
    WRITING_FIELDS_STATUS,
    UPDATING_CAPTIONS_STATUS,
    LAYOUT_NOT_SAVED,
    ACR_FORM_CAPTION,
    GO_UP_TOOLTIP,
    PATHOLOGIC_BUTTON,
    ANATOMY_BUTTON,
    PATHOLOGIC_EXPANSION_LABEL,
    PATH_CODE_LABEL,
    ANAT_CODE_LABEL,
    ANATOMY_EXPANSION_LABEL,
    ANGIO_FORM_CAPTION,
    ANGIO_EXPANSION_LABEL,
    ANGIO_CODE_LABEL,
    CODE_SEARCH_LABEL,
    CODE_SEARCH_PLACEHOLDER,
    CODE_SEARCH_NO_MATCH,
    TABLES_CAPTION,
    ADD_BUTTON,
    EDIT_BUTTON,
    DELETE_BUTTON,
    DELETE_TABLE_QUESTION,
    DELETE_USED_TABLE_QUESTION,
    NEW_TABLE_CAPTION,
    EDIT_TABLE_CAPTION,
    TABLE_NAME_LABEL,
    TABLE_NAME_EMPTY,
    TABLE_NAME_TAKEN,
    TABLE_NAME_LEADING_BLANK,
    NEW_VALUE_CAPTION,
    VALUE_LABEL,
    INPUT_BOX_CAPTION,
    INPUT_BOX_PROMPT,
    IDENTIFIER_QUESTION,
    IDENTIFIER_FINDING,
    IDENTIFIER_PATTERN_INVALID,
};

} // namespace ResourceIds
