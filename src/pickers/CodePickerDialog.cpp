#include "CodePickerDialog.h"

#include "CodeHitModel.h"
#include "codewalk/CodeWalk.h"
#include "common/QV_Resource.h"
#include "common/QV_VBLogger.h"
#include "common/ResourceIds.h"
#include "platform/config/ConfigDatabase.h"
#include "platform/config/FreeConfigTree.h"
#include "platform/ui/IconCache.h"

#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QListWidget>
#include <QPushButton>
#include <QTimer>

namespace {

constexpr quint32 ListBackColor = 0xE0E0E0;
constexpr int SmallArrowSize = 16;
constexpr int LargeArrowSize = 32;
constexpr int SearchBoxHeight = 24;
constexpr int SearchCaptionWidth = 44;
constexpr int SearchBoxGap = 6;

} // namespace

CodePickerDialog::CodePickerDialog(const QSize &designSize, int captionCount, QString logSource,
                                   QWidget *parent)
    : QDialog(parent), m_mainList(addControl<QListWidget>("mainList")),
      m_cmdUp(addControl<QPushButton>("cmdUp")), m_cmdUPBig(addControl<QPushButton>("cmdUPBig")),
      m_cmdOK(addControl<QPushButton>("cmdOK")), m_cmdCancel(addControl<QPushButton>("cmdCancel")),
      m_lblInfo(addControl<QLabel>("lblInfo")), m_label1(addControl<QLabel>("Label1")),
      m_lblSearch(addControl<QLabel>("lblSearch")), m_txtSearch(addControl<QLineEdit>("txtSearch")),
      m_searchList(addControl<QListView>("searchList")), m_designSize(designSize),
      m_logSource(std::move(logSource)), m_hitModel(new CodeHitModel(this)),
      m_searchIndexTimer(new QTimer(this))
{
    m_searchIndexTimer->setSingleShot(true);
    m_searchIndexTimer->setInterval(0);
    connect(m_searchIndexTimer, &QTimer::timeout, this, [this] { codeWalk().buildSearchIndex(); });
    resize(designSize);
    for (int i = 0; i < captionCount; ++i) {
        auto *caption = addControl<QLabel>("m_lbl");
        caption->setProperty("index", i);
        m_lbl << caption;
    }

    // Thousands of entries stay quick: every row has the font's height, so
    // the view never measures rows one by one.
    m_mainList->setUniformItemSizes(true);
    m_mainList->setSortingEnabled(false);
    m_mainList->installEventFilter(this);
    m_mainList->viewport()->installEventFilter(this);

    m_lblSearch->setBuddy(m_txtSearch);
    m_txtSearch->installEventFilter(this);
    m_searchList->setModel(m_hitModel);
    m_searchList->setUniformItemSizes(true);
    m_searchList->setAccessibleName(QStringLiteral("Matching codes"));
    m_searchList->installEventFilter(this);
    m_searchList->hide();
    setTabOrder(m_txtSearch, m_searchList);
    setTabOrder(m_searchList, m_mainList);

    const QIcon upArrow = IconCache::standardIcon(QStyle::SP_ArrowUp);
    m_cmdUp->setIcon(upArrow);
    m_cmdUp->setIconSize(QSize(SmallArrowSize, SmallArrowSize));
    m_cmdUPBig->setIcon(upArrow);
    m_cmdUPBig->setIconSize(QSize(LargeArrowSize, LargeArrowSize));
    m_cmdUPBig->hide();
    m_cmdUp->setAutoDefault(false);
    m_cmdOK->setDefault(true);

    connect(m_mainList, &QListWidget::clicked, this,
            [this](const QModelIndex &index) { listClicked(index.row()); });
    connect(m_cmdUp, &QPushButton::clicked, this, [this] { upClicked(); });
    connect(m_txtSearch, &QLineEdit::textChanged, this, &CodePickerDialog::search);
    connect(m_searchList, &QListView::doubleClicked, this,
            [this](const QModelIndex &index) { chooseHit(index.row()); });
    connect(m_cmdOK, &QPushButton::clicked, this, &QDialog::accept);
    connect(m_cmdCancel, &QPushButton::clicked, this, &QDialog::reject);
}

CodePickerDialog::~CodePickerDialog() = default;

void CodePickerDialog::log(const QString &message) const
{
    QV_VBLogger::WriteLog(message, m_logSource);
}

void CodePickerDialog::placeCaptions(int first, int last, const QRect &firstGeometry)
{
    for (int i = first; i <= last; ++i)
        m_lbl[i]->setGeometry(firstGeometry.translated(0, (i - first) * firstGeometry.height()));
}

void CodePickerDialog::placeSearchAndList(const QRect &area)
{
    m_lblSearch->setGeometry(area.x(), area.y(), SearchCaptionWidth, SearchBoxHeight);
    m_txtSearch->setGeometry(area.x() + SearchCaptionWidth, area.y(),
                             area.width() - SearchCaptionWidth, SearchBoxHeight);
    const QRect lists = area.adjusted(0, SearchBoxHeight + SearchBoxGap, 0, 0);
    m_mainList->setGeometry(lists);
    m_searchList->setGeometry(lists);
}

void CodePickerDialog::loadDialog(const std::function<void()> &setCaptions)
{
    resize(m_designSize);
    QV_Resource::ApplyDialogLoadTreatment(this, [this, &setCaptions] {
        setCaptions();
        setSearchCaptions();
    });
    m_database = std::make_unique<ConfigDatabase>();
    QPalette listPalette = m_mainList->palette();
    listPalette.setColor(QPalette::Base, QV_Resource::ToQColor(ListBackColor));
    m_mainList->setPalette(listPalette);
    m_searchList->setPalette(listPalette);
    applyLook();
}

void CodePickerDialog::setSearchCaptions()
{
    using namespace ResourceIds;
    m_lblSearch->setText(QV_Resource::GetResString(CODE_SEARCH_LABEL));
    m_txtSearch->setPlaceholderText(QV_Resource::GetResString(CODE_SEARCH_PLACEHOLDER));
    m_hitModel->setNoMatchText(QV_Resource::GetResString(CODE_SEARCH_NO_MATCH));
}

void CodePickerDialog::readTree(CodeWalk &walk, const QString &path, const QString &treeName)
{
    log(QStringLiteral("Before reading %1 code tree").arg(treeName));
    walk.setTree(m_database->LoadTree(path));
    m_searchIndexPending = true;
    log(QStringLiteral("After reading %1 code tree").arg(treeName));
}

void CodePickerDialog::unload(CodeWalk &walk)
{
    hide();
    // The hits point into the index the walk is about to let go of.
    m_txtSearch->clear();
    m_searchIndexTimer->stop();
    m_searchIndexPending = false;
    walk.release();
    m_database.reset();
}

void CodePickerDialog::showCode(QLineEdit *box, const QString &code)
{
    if (box->text() != code)
        box->setText(code);
}

void CodePickerDialog::applyLook()
{
    // The load treatment has given the form the dialog colour (or left the
    // platform's while none is loaded); the up button matches the form.
    QPalette upPalette = m_cmdUp->palette();
    upPalette.setColor(QPalette::Button, palette().color(QPalette::Window));
    m_cmdUp->setPalette(upPalette);
    if (QV_Resource::UIFactor() >= 2) {
        m_cmdUp->setIcon(m_cmdUPBig->icon());
        m_cmdUp->setIconSize(m_cmdUPBig->iconSize());
    }
}

bool CodePickerDialog::runModal(const QString &incomingCode)
{
    m_txtSearch->clear();
    if (incomingCode.isEmpty())
        m_txtSearch->setFocus();
    else
        m_mainList->setFocus();
    return exec() == QDialog::Accepted;
}

void CodePickerDialog::paintEvent(QPaintEvent *event)
{
    QDialog::paintEvent(event);
    if (m_searchIndexPending) {
        m_searchIndexPending = false;
        m_searchIndexTimer->start();
    }
}

bool CodePickerDialog::isSearching() const
{
    return !m_txtSearch->text().trimmed().isEmpty();
}

void CodePickerDialog::search()
{
    const bool searching = isSearching();
    m_hitModel->setHits(searching ? codeWalk().search(m_txtSearch->text()) : CodeHits());
    // Enter in the box chooses the first hit unless the user moves on.
    m_searchList->setCurrentIndex(m_hitModel->index(0));
    m_searchList->setVisible(searching);
    m_mainList->setVisible(!searching);
}

void CodePickerDialog::chooseHit(int row)
{
    const CodeHits hits = m_hitModel->hits();
    if (row < 0 || row >= hits.size())
        return;
    codeWalk().choose(hits, row);
    m_txtSearch->clear();
    showState();
    m_mainList->setFocus();
}

bool CodePickerDialog::searchBoxKeyPressed(const QKeyEvent *key)
{
    switch (key->key()) {
    case Qt::Key_Down: {
        QListView *list = isSearching() ? m_searchList : m_mainList;
        list->setFocus();
        if (!list->currentIndex().isValid())
            list->setCurrentIndex(list->model()->index(0, 0));
        return true;
    }
    case Qt::Key_Return:
    case Qt::Key_Enter:
        // With the box empty, Enter is OK as in the code boxes.
        if (!isSearching())
            return false;
        chooseHit(m_searchList->currentIndex().row());
        return true;
    case Qt::Key_Escape:
        // Only an empty box lets Escape cancel the dialog.
        if (m_txtSearch->text().isEmpty())
            return false;
        m_txtSearch->clear();
        return true;
    default:
        return false;
    }
}

void CodePickerDialog::showWalk(const CodeWalk &walk)
{
    if (!m_listShown || walk.listRevision() != m_shownRevision) {
        QStringList texts;
        texts.reserve(walk.entries().size());
        for (const CodeEntry &entry : walk.entries())
            texts << entry.text();
        m_mainList->clear();
        m_mainList->addItems(texts);
        m_shownRevision = walk.listRevision();
        m_listShown = true;
    }
    // A chosen leaf stays listed with its siblings: show which one it is.
    m_chosenLeafRow = walk.chosenRow();
    if (m_chosenLeafRow >= 0)
        m_mainList->setCurrentRow(m_chosenLeafRow);
    for (int i = 0; i < m_lbl.size(); ++i)
        m_lbl[i]->setText(walk.caption(i));
    m_lblInfo->setText(walk.info());
    // A change of mode changes what the search runs on.
    if (isSearching())
        search();
}

bool CodePickerDialog::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress) {
        const auto *key = static_cast<QKeyEvent *>(event);
        if (watched == m_txtSearch && searchBoxKeyPressed(key))
            return true;
        if (watched == m_searchList &&
            (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter)) {
            chooseHit(m_searchList->currentIndex().row());
            return true;
        }
    }
    // The first click of a double click has already descended; the second
    // would land on an entry of the new level and descend once more.
    if (watched == m_mainList->viewport() && event->type() == QEvent::MouseButtonDblClick)
        return true;
    if (watched == m_mainList && event->type() == QEvent::KeyPress) {
        switch (static_cast<QKeyEvent *>(event)->key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
            // Enter chooses the current entry. A branch opens and the walk goes
            // on; a leaf ends it, so Enter then confirms the choice as OK does.
            if (const int row = m_mainList->currentRow(); row >= 0) {
                listClicked(row);
                if (m_chosenLeafRow == row)
                    m_cmdOK->click();
            }
            return true;
        case Qt::Key_Backspace:
            upClicked();
            return true;
        default:
            break;
        }
    }
    return QDialog::eventFilter(watched, event);
}
