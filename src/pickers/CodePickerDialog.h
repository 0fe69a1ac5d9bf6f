#pragma once

#include <QDialog>
#include <QList>
#include <QRect>

#include <functional>
#include <memory>

class CodeHitModel;
class CodeWalk;
class ConfigDatabase;
class QKeyEvent;
class QLabel;
class QLineEdit;
class QListView;
class QListWidget;
class QPushButton;
class QTimer;

// What both code pickers share: the list of a tree level, the up button,
// the level captions, the info line, OK and Cancel, and the search box above
// the list: while it holds text, the list of hits takes the level's place. The children sit at
// fixed design positions; the proportional resizer of the load treatment scales them with the
// dialog. Closing the window cancels and only hides it.
class CodePickerDialog : public QDialog
{
    Q_OBJECT

protected:
    CodePickerDialog(const QSize &designSize, int captionCount, QString logSource, QWidget *parent);
    ~CodePickerDialog() override;

    void log(const QString &message) const;

    // Loading: the load treatment of every dialog, the pickers' own look and
    // the store. Also sound on a load after unload(): the dialog goes back
    // to its design size first, so the scale factor is not applied twice.
    bool isLoaded() const { return m_database != nullptr; }
    void loadDialog(const std::function<void()> &setCaptions);
    // Reads the whole tree at path into the walk; treeName goes into the log.
    void readTree(CodeWalk &walk, const QString &path, const QString &treeName);
    // Hides the dialog and lets go of the store and the tree; the next
    // Init loads again.
    void unload(CodeWalk &walk);
    // Shows the dialog modally, the search emptied; true when the user chose
    // OK. Without an incoming code the user starts in the search box.
    bool runModal(const QString &incomingCode);
    // Re-setting an unchanged box would move the user's cursor to the end.
    static void showCode(QLineEdit *box, const QString &code);
    // Mirrors the walk's list, captions and info line. The list is refilled
    // only when the walk filled it anew, and then in one go.
    void showWalk(const CodeWalk &walk);

    // A control named as the dialog's code refers to it, at its design place.
    template <typename Widget> Widget *addControl(const char *name, const QRect &geometry = QRect())
    {
        auto *control = new Widget(this);
        control->setObjectName(QLatin1String(name));
        control->setGeometry(geometry);
        return control;
    }
    // The level captions one under another from the top left of a column.
    void placeCaptions(int first, int last, const QRect &firstGeometry);
    // The search caption and box along the top of area, the lists below.
    void placeSearchAndList(const QRect &area);

    virtual CodeWalk &codeWalk() = 0;
    // Mirrors the walk in every control.
    virtual void showState() = 0;
    virtual void listClicked(int row) = 0;
    virtual void upClicked() = 0;

    bool eventFilter(QObject *watched, QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

    QListWidget *m_mainList;
    QPushButton *m_cmdUp;
    QPushButton *m_cmdUPBig;
    QPushButton *m_cmdOK;
    QPushButton *m_cmdCancel;
    QLabel *m_lblInfo;
    QLabel *m_label1;
    QList<QLabel *> m_lbl;
    QLabel *m_lblSearch;
    QLineEdit *m_txtSearch;
    QListView *m_searchList;

private:
    void applyLook();
    void setSearchCaptions();
    bool isSearching() const;
    // Lists the hits of the search box's text, or shows the walk again.
    void search();
    void chooseHit(int row);
    bool searchBoxKeyPressed(const QKeyEvent *key);

    QSize m_designSize;
    QString m_logSource;
    std::unique_ptr<ConfigDatabase> m_database;
    CodeHitModel *m_hitModel;
    // The search index of a newly read tree is built once the list has been
    // painted, so the picker opens without waiting for it; a search that
    // comes sooner builds it itself.
    QTimer *m_searchIndexTimer;
    bool m_searchIndexPending = false;
    quint64 m_shownRevision = 0;
    bool m_listShown = false;
    // The row of the leaf last chosen while the list still shows it, or -1.
    int m_chosenLeafRow = -1;
};
