#pragma once

#include "CodeWalk.h"

// Walking the angiography tree of dotted codes (4, 4.12, 4.12.3). Siblings
// are listed in numeric order; captions 0 to 5 hold the levels 1 to 6.
class AngioCodeWalk : public CodeWalk
{
public:
    static constexpr int Levels = 6;

    AngioCodeWalk();

    // The top of the tree with everything chosen cleared.
    void showTop();
    void select(int index);
    // Drops the last part of the code and lists the level on which the
    // shortened code was chosen.
    void up();
    // Descends to an incoming code; a code the tree lacks is kept as it
    // came, so it passes through the dialog unchanged.
    void navigateTo(const QString &code);

    const QString &code() const { return m_code; }
    void setCode(const QString &code) { m_code = code; }
    QString angioDesc() const;

protected:
    void arrange(QList<CodeEntry> &entries) const override;

private:
    QString m_code;
};
