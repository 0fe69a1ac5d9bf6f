#pragma once

#include "CodeSearchIndex.h"
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
    void select(int index) override;
    void choose(const CodeHits &hits, int hit) override;
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
    void indexTree() override;
    // Digits find the codes starting with them ("4.1" finds 4.1, 4.12.3 and
    // 4.10); words find codes by their descriptions.
    CodeHits searchIndexes(const QString &text) const override;
    bool listedBefore(const QString &code, const QString &other) const override;

private:
    QString m_code;
    CodeSearchIndex m_index;
};
