#pragma once

#include "config/LayoutRecord.h"

class Kivo_CFGManager;

// The stored entries of one field set: its caption label and its input.
struct FieldLayout
{
    LayoutRecord label;
    LayoutRecord input;
};

// The form side of the stored layout: field sets counted from 0 here and
// from 1 in the store, the input stored as the "text" element whatever its
// kind. Reading and writing go through the configuration manager's layout
// cycle; nothing here knows a widget.
class FormLayoutIO
{
public:
    explicit FormLayoutIO(Kivo_CFGManager &manager) : m_manager(manager) {}

    // Reading. open() answers whether there is a layout to read: the user's,
    // or the default one when asked for (or when the user has none).
    bool open(bool useDefault);
    LayoutRecord formLayout() const;
    // A set stored without a tag reads with an empty tag.
    FieldLayout fieldSet(int index) const;

    // Saving: begin() makes the save tree and writes the window size; false
    // when the tree cannot be made, and nothing is written. The sets follow,
    // then commit() replaces the user's layout with what was written.
    bool begin(int formWidth, int formHeight);
    void writeFieldSet(int index, const FieldLayout &set);
    void commit();

private:
    Kivo_CFGManager &m_manager;
};
