#include "Kivo_CFGManager.h"

#include <common/QV_ResourceSettings.h>
#include <common/QV_VBLogger.h>
#include <platform/Err.h>

#include <QRegularExpression>

#include <algorithm>

namespace {

Kivo_CFGManager *s_instance = nullptr;

void log(const QString &message)
{
    QV_VBLogger::WriteLog(message, QStringLiteral("Kivo_CFGManager"));
}

QString setPath(int setNumber)
{
    return QLatin1String("set") + QString::number(setNumber);
}

QString elementPath(int setNumber, const QString &kind)
{
    return setPath(setNumber) + QLatin1Char('\\') + kind;
}

QString tagPath(int setNumber)
{
    return setPath(setNumber) + QLatin1String("\\tag");
}

// The form's own position and size may have been typed into the store by
// hand; a value that is not a whole number must not stop the form from
// being built, so it counts as not set.
qint32 formDimension(const ConfigTree &tree, const QString &key)
{
    const QString text = tree.ReadStringOr(key, QStringLiteral("-1"));
    bool ok = false;
    const qint32 value = text.trimmed().toInt(&ok);
    if (ok)
        return value;
    log(QLatin1String("Form ") + key + QLatin1String(" is not a whole number: \"") + text +
        QLatin1String("\", taken as not set"));
    return -1;
}

} // namespace

Kivo_CFGManager::Kivo_CFGManager() = default;

Kivo_CFGManager::~Kivo_CFGManager()
{
    if (s_instance == this)
        s_instance = nullptr;
}

Kivo_CFGManager *Kivo_CFGManager::instance()
{
    return s_instance;
}

void Kivo_CFGManager::setInstance(Kivo_CFGManager *manager)
{
    s_instance = manager;
}

void Kivo_CFGManager::Uninitialize()
{
    m_database.reset();
    m_userManager.reset();
    m_directory.reset();
}

bool Kivo_CFGManager::CanEdit() const
{
    return m_userManager && m_userManager->Rights().EditAllowed;
}

void Kivo_CFGManager::UIListener(::UIListener *listener)
{
    if (listener)
        m_listener = ComRef<::UIListener>(listener);
}

QString Kivo_CFGManager::GetUserDisplayedName(const QString &login) const
{
    return m_directory ? m_directory->DisplayNameOf(login) : QString();
}

void Kivo_CFGManager::Init()
{
    QV_VBLogger::setLogModuleNumber(393);
    QV_VBLogger::setDefaultSource(QStringLiteral("Kivo"));
    QV_VBLogger::InitLog();

    m_database = std::make_unique<ConfigDatabase>();
    m_userManager = std::make_unique<UserManager>();
    readUserContext();

    m_installRoot = CorvalisRoot();
    QV_Resource::InitUISettings();
    QV_Resource::SetApplicationIconPath(m_installRoot + QLatin1String(APPLICATION_ICON));

    m_updateAETitles = m_database->ReadLongOr(QLatin1String(UPDATE_AE_TITLES_PATH), 1);
    m_draftMaxAgeDays =
        m_database->ReadLongOr(QLatin1String(DRAFT_MAX_AGE_PATH), DEFAULT_DRAFT_MAX_AGE_DAYS);
    m_directory = std::make_unique<UserDirectory>();
}

void Kivo_CFGManager::readUserContext()
{
    // A user context left from an earlier Init must not outlive a change of
    // login: its name would be stamped on the next submitted teaching file.
    m_displayedName.clear();
    m_loginName.clear();
    m_group.clear();
    const QString login = ConfigDatabase::GlobalValue(QStringLiteral("CurrUser"));
    if (login.isEmpty()) {
        log(QStringLiteral("No curr User"));
        return;
    }
    const auto user = m_userManager->CurrentUser();
    if (!user)
        return;
    m_group = user->GroupName;
    m_displayedName = user->FirstName + QLatin1Char(' ') + user->LastName;
    m_loginName = login;
    log(QLatin1String("User login name is ") + login + QLatin1String(" User displayed name is") +
        m_displayedName);
}

QString Kivo_CFGManager::CorvalisRoot() const
{
    if (!m_database)
        return QString();
    const QString root = ConfigDatabase::GlobalValue(QStringLiteral("CorvalisRoot"));
    if (!root.isEmpty())
        return root;
    // Without a machine name there is no installation to speak of.
    const QString machine = ConfigDatabase::GlobalValue(QStringLiteral("CurrMachine"));
    if (machine.isEmpty())
        return QString();
    const QString machineRoot =
        m_database->ReadString(QLatin1String(NODES_PATH) + QLatin1Char('\\') + machine +
                               QLatin1String("\\properties\\corvalis_root"));
    return machineRoot.isEmpty() ? QString::fromLatin1(DEFAULT_CORVALIS_ROOT) : machineRoot;
}

ConfigDatabase &Kivo_CFGManager::database() const
{
    if (!m_database)
        throw Err(Err::WrongState, QStringLiteral("The configuration manager is not initialised"));
    return *m_database;
}

const ConfigTree &Kivo_CFGManager::readTree() const
{
    if (!m_readTree)
        throw Err(Err::WrongState, QStringLiteral("No form layout is open for reading"));
    return *m_readTree;
}

FreeConfigTree &Kivo_CFGManager::saveTree() const
{
    if (!m_saveTree)
        throw Err(Err::WrongState, QStringLiteral("No form layout save is in progress"));
    return *m_saveTree;
}

namespace {

// The layout is read key by key: from a store it is loaded as one subtree
// first, so a store on a server is not asked once per key; a tree in memory
// is read where it is.
ConfigTreePtr layoutTree(const ConfigTree &store, const QString &path)
{
    if (const auto *database = dynamic_cast<const ConfigDatabase *>(&store))
        return database->LoadTree(path);
    return store.OpenSubTree(path);
}

} // namespace

bool Kivo_CFGManager::InitBeforeReadLayout(bool readDefault)
{
    return InitBeforeReadLayout(database(), readDefault);
}

bool Kivo_CFGManager::InitBeforeReadLayout(const ConfigTree &store, bool readDefault)
{
    log(QStringLiteral("Start InitBeforeReadLayout"));
    // A reset to the default still replaces the user's own layout when it
    // is saved, so remember where that is.
    m_storedLayout = store.OpenSubTree(QLatin1String(LAYOUT_PATH));
    if (!readDefault)
        m_readTree = layoutTree(store, QLatin1String(LAYOUT_PATH));
    if (readDefault || !m_readTree) {
        if (!readDefault)
            log(QStringLiteral("No Form Layout tree exists. Read default"));
        m_readTree = layoutTree(store, QLatin1String(DEFAULT_LAYOUT_PATH));
    }
    log(QStringLiteral("Finish InitBeforeReadLayout"));
    return m_readTree != nullptr;
}

void Kivo_CFGManager::ReadFormLayout(LayoutRecord &record) const
{
    const ConfigTree &tree = readTree();
    record.top = formDimension(tree, QStringLiteral("top"));
    record.left = tree.ReadLongOr(QStringLiteral("left"), -1);
    record.width = formDimension(tree, QStringLiteral("width"));
    record.height = tree.ReadLongOr(QStringLiteral("height"), -1);
    record.type = tree.ReadString(QStringLiteral("type"));
    record.table = tree.ReadString(QStringLiteral("table"));
}

void Kivo_CFGManager::ReadFieldLayout(LayoutRecord &record, int setNumber,
                                      const QString &kind) const
{
    const ConfigTree &tree = readTree();
    const QString path = elementPath(setNumber, kind) + QLatin1Char('\\');
    record.top = tree.ReadLong(path + QLatin1String("top"));
    record.left = tree.ReadLong(path + QLatin1String("left"));
    record.width = tree.ReadLong(path + QLatin1String("width"));
    record.height = tree.ReadLong(path + QLatin1String("height"));
    const QString setText = QLatin1String("Set number ") + QString::number(setNumber);
    log(setText + QLatin1String(" Top=") + QString::number(record.top));
    log(setText + QLatin1String(" Left=") + QString::number(record.left));
    log(setText + QLatin1String(" Width=") + QString::number(record.width));
    log(setText + QLatin1String(" Height=") + QString::number(record.height));

    const QString caption = tree.ReadString(path + QLatin1String("caption"));
    if (!caption.isEmpty())
        record.caption = caption;
    const qint32 maxLength = tree.ReadLong(path + QLatin1String("max_length"));
    if (maxLength >= 0)
        record.maxLength = maxLength;
    // The tag belongs to set n alone: a set without one gets none, rather
    // than travelling under the tag of the set read before it.
    record.tag = tree.ReadString(tagPath(setNumber)).toUpper();
    const QString type = tree.ReadString(path + QLatin1String("type"));
    if (!type.isEmpty())
        record.type = type.toUpper();
    const QString table = tree.ReadString(path + QLatin1String("table"));
    if (!table.isEmpty())
        record.table = table;
}

QString Kivo_CFGManager::readLayoutName() const
{
    return m_readTree ? m_readTree->RootName() : QString();
}

QList<int> Kivo_CFGManager::readSetNumbers() const
{
    static const QRegularExpression setKey(QStringLiteral("^set([1-9][0-9]{0,8})$"),
                                           QRegularExpression::CaseInsensitiveOption);
    QList<int> numbers;
    const KeyNameList names = readTree().ChildNames(QString());
    for (const QString &name : names.names()) {
        const auto match = setKey.match(name);
        if (match.hasMatch())
            numbers.append(match.captured(1).toInt());
    }
    std::sort(numbers.begin(), numbers.end());
    return numbers;
}

bool Kivo_CFGManager::InitSaveTree()
{
    m_saveTree = std::make_shared<FreeConfigTree>();
    m_saveTree->Reset();
    m_saveTree->RenameRoot(QString(), QStringLiteral("form_layout"));
    return true;
}

void Kivo_CFGManager::WriteFormSize(const LayoutRecord &record)
{
    FreeConfigTree &tree = saveTree();
    tree.WriteLong(QStringLiteral("width"), record.width);
    tree.WriteLong(QStringLiteral("height"), record.height);
}

void Kivo_CFGManager::WriteFieldLayout(const LayoutRecord &record, int setNumber,
                                       const QString &kind)
{
    FreeConfigTree &tree = saveTree();
    const QString path = elementPath(setNumber, kind) + QLatin1Char('\\');
    tree.WriteLong(path + QLatin1String("top"), record.top);
    tree.WriteLong(path + QLatin1String("left"), record.left);
    tree.WriteLong(path + QLatin1String("width"), record.width);
    tree.WriteLong(path + QLatin1String("height"), record.height);
    if (!record.caption.isEmpty())
        tree.WriteString(path + QLatin1String("caption"), record.caption);
    if (record.maxLength >= 0)
        tree.WriteLong(path + QLatin1String("max_length"), record.maxLength);
    if (!record.tag.isEmpty())
        tree.WriteString(tagPath(setNumber), record.tag.toUpper());
    if (!record.type.isEmpty())
        tree.WriteString(path + QLatin1String("type"), record.type);
    if (!record.table.isEmpty())
        tree.WriteString(path + QLatin1String("table"), record.table);
}

void Kivo_CFGManager::DumpDataToCFG()
{
    if (!m_saveTree)
        return;
    ConfigDatabase &store = database();
    const QString parent =
        QString::fromLatin1(LAYOUT_PATH).remove(QLatin1String("\\form_layout"), Qt::CaseSensitive);
    if (!m_storedLayout) {
        store.AttachTree(parent, *m_saveTree);
    } else {
        // The rename and the swap are one change: a save cut short leaves
        // the old layout or the new one, never a mix or none.
        auto transaction = store.transaction();
        if (m_storedLayout->RootName() == QLatin1String("default_layout"))
            m_storedLayout->RenameRoot(QStringLiteral("default_layout"),
                                       QStringLiteral("form_layout"));
        store.SwapTree(*m_saveTree, *m_storedLayout, parent);
        transaction.commit();
    }
    m_saveTree.reset();
}

void Kivo_CFGManager::UpdateFieldType(const QString &type, int setNumber, const QString &kind)
{
    if (type.isEmpty())
        return;
    ConfigDatabase &store = database();
    const QString layout = QLatin1String(LAYOUT_PATH) + QLatin1Char('\\');
    // Only a layout the user saved is changed; the shipped one stays as it is.
    if (store.KeyExists(layout + setPath(setNumber)))
        store.WriteString(layout + elementPath(setNumber, kind) + QLatin1String("\\type"), type);
}

void Kivo_CFGManager::UpdateAETagCaption(const QString &typeName, const QString &caption)
{
    // One key per type: a "\" in the name must not reach another key.
    ConfigPath::validateName(typeName);
    database().WriteString(QLatin1String(AE_FIELD_TYPES_PATH) + QLatin1Char('\\') + typeName +
                               QLatin1String("\\name"),
                           caption);
}

ConfigTransaction Kivo_CFGManager::transaction()
{
    return database().transaction();
}
