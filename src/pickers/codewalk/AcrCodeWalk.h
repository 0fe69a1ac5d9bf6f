#pragma once

#include "CodeSearchIndex.h"
#include "CodeWalk.h"

#include <map>

// Walking the ACR tree: anatomy codes first, then the pathology codes of the
// anatomy region (the anatomy code's first digit). Captions 0 to 5 hold the
// anatomy levels 1 to 6, captions 6 to 11 the pathology levels 1 to 6.
class AcrCodeWalk : public CodeWalk
{
public:
    enum class Mode { Anatomy, Pathology };
    static constexpr int LevelsPerMode = 6;

    AcrCodeWalk();

    // Back to the top of the anatomy tree with everything chosen cleared.
    void showAnatomy();
    // The pathology codes of the chosen anatomy region.
    void showPathology();
    // The user chose the entry at index: it becomes the mode's code and the
    // list descends to its children.
    void select(int index) override;
    void choose(const CodeHits &hits, int hit) override;
    // Drops the last digit of the mode's code and lists the level above.
    void up();
    // Descends to an incoming code "anatomy - pathology" (the second part
    // may be missing). Parts the tree lacks are kept as they came, so a code
    // passes through the dialog unchanged unless the user changes it.
    void navigateTo(const QString &code);

    Mode mode() const { return m_mode; }
    // Pathology codes exist only below an anatomy region.
    bool pathologyAvailable() const { return m_pathologyAvailable; }
    const QString &anatomyCode() const { return m_anatomyCode; }
    void setAnatomyCode(const QString &code) { m_anatomyCode = code; }
    const QString &pathologyCode() const { return m_pathologyCode; }
    void setPathologyCode(const QString &code) { m_pathologyCode = code; }
    // The code last chosen from the list in each mode.
    const QString &anatomyChoice() const { return m_anatomyChoice; }
    const QString &pathologyChoice() const { return m_pathologyChoice; }

    // "anatomy - pathology", or the anatomy code alone.
    QString result() const;
    QString anatomyDesc() const;
    QString pathologicDesc() const;

protected:
    void indexTree() override;
    // Digits find the current mode's codes by their start; "641 - 42" or
    // "641.42" finds the pathology codes starting 42 below anatomy 641;
    // words find the current mode's codes by their descriptions.
    CodeHits searchIndexes(const QString &text) const override;
    bool isListed(const QString &name) const override;

private:
    // The caption of a level in the current mode, -1 beyond the last.
    int captionIndex(int level) const;
    QString region() const;
    // Null when the region has no pathology codes.
    const CodeSearchIndex *pathologyIndex(const QString &region) const;
    CodeHits searchBelowAnatomy(const QString &anatomy, const QString &pathology) const;

    Mode m_mode = Mode::Anatomy;
    bool m_pathologyAvailable = false;
    QString m_anatomyCode;
    QString m_pathologyCode;
    QString m_anatomyChoice;
    QString m_pathologyChoice;
    CodeSearchIndex m_anatomyIndex;
    // By region: the values stay in place, so hits may point at them.
    std::map<QString, CodeSearchIndex> m_pathologyIndexes;
};
