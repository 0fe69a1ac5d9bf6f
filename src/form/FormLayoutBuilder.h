#pragma once

#include <QStringList>

class FormLayoutIO;
class Kivo_TablesStore;
class QWidget;
struct FormControls;
struct LayoutRecord;

// Turns the stored layout into the window: its size, every field set's
// place, caption, tag, kind and list, and the scaling of the form to the
// display's factor.
class FormLayoutBuilder
{
public:
    FormLayoutBuilder(QWidget *form, FormControls &ui, Kivo_TablesStore &tables);

    // Reads the user's layout, or the default one, and builds from it;
    // without a layout to read the fields stay as they are. Scaled controls
    // take fieldPointSize when it is above 0.
    void read(bool useDefault, int fieldPointSize);

    // The value tables' names as of the last build.
    const QStringList &tableNames() const { return m_tableNames; }

    // The field-area origin: where stored field tops count from.
    int fieldAreaOrigin(bool fromDefault) const;

private:
    void build(const FormLayoutIO &layout, bool useDefault, int fieldPointSize);
    void resizeToLayout(const LayoutRecord &formLayout);
    void buildFieldSet(const FormLayoutIO &layout, int index, int origin);
    void scaleToFactor(bool useDefault, int fieldPointSize);

    QWidget *m_form;
    FormControls &m_ui;
    Kivo_TablesStore &m_tables;
    QStringList m_tableNames;
    // How far the scaled controls moved up (twips) when the form was scaled.
    int m_scaleShift = 0;
};
