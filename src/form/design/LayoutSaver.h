#pragma once

class FormScrolling;
class QWidget;
class StatusLine;
struct FormControls;
struct FieldLayout;
struct FieldSet;

// Save Layout: the window's size and every field set's label and visible
// input (place, size, caption, tag, kind, maximum length, value table) into
// the user's stored layout, as the build reads them back; then, when the
// site wants it, the labels' captions as the captions of the field types.
class LayoutSaver
{
public:
    LayoutSaver(QWidget *form, FormControls &ui, StatusLine &status, FormScrolling &scrolling);

    // Shows what it does on the status line. A failure leaves the stored
    // layout as it was, is logged and is shown to the user.
    void SaveLayout();
    void UpdateAECoulmnCaptions();

private:
    void save();
    FieldLayout storedSet(const FieldSet &set, int origin) const;

    QWidget *m_form;
    FormControls &m_ui;
    StatusLine &m_status;
    FormScrolling &m_scrolling;
};
