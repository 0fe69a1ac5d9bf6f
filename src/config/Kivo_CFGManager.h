#pragma once

#include "LayoutRecord.h"

#include <platform/config/ConfigDatabase.h>
#include <platform/config/ConfigTransaction.h>
#include <platform/config/FreeConfigTree.h>
#include <platform/user/UserDirectory.h>
#include <platform/user/UserManager.h>

#include <kivo/ComRef.h>
#include <kivo/UIListener.h>

#include <memory>

// The component's one gateway to the configuration store and the host's user
// services: who works at the workstation and whether they may edit the
// layout, where the platform is installed, the teaching-file paths, and the
// read and save cycle of the form layout.
//
// One instance exists at a time. Whoever creates it (the host bridge)
// publishes it with setInstance(); forms and dialogs reach it through
// instance().
class Kivo_CFGManager
{
public:
    static constexpr const char *LAYOUT_PATH =
        "Corvalis\\system\\applications\\quovira\\teachingfile\\appearance\\form_layout";
    static constexpr const char *DEFAULT_LAYOUT_PATH =
        "Corvalis\\system\\applications\\quovira\\teachingfile\\appearance\\default_layout";
    static constexpr const char *APPERANCE_PATH =
        "Corvalis\\system\\applications\\quovira\\teachingfile\\appearance";
    static constexpr const char *AE_FIELD_TYPES_PATH =
        "Corvalis\\system\\applications\\quovira\\ae\\field types";
    static constexpr const char *UPDATE_AE_TITLES_PATH =
        "Corvalis\\system\\applications\\quovira\\teachingfile\\appearance\\update_ae_titles";
    // Days a draft of an entry is kept before Init drops it.
    static constexpr const char *DRAFT_MAX_AGE_PATH =
        "Corvalis\\system\\applications\\quovira\\teachingfile\\draft_max_age_days";
    static constexpr qint32 DEFAULT_DRAFT_MAX_AGE_DAYS = 30;
    // Below it: machine name + "\properties\corvalis_root".
    static constexpr const char *NODES_PATH = "Corvalis\\system\\nodes";
    static constexpr const char *DEFAULT_CORVALIS_ROOT = "/opt/norvex";
    // Below the install root; a file-system path.
    static constexpr const char *APPLICATION_ICON = "/qv/resources/icons/qv.ico";

    Kivo_CFGManager();
    ~Kivo_CFGManager();
    Kivo_CFGManager(const Kivo_CFGManager &) = delete;
    Kivo_CFGManager &operator=(const Kivo_CFGManager &) = delete;

    // Null while no manager is published.
    static Kivo_CFGManager *instance();
    static void setInstance(Kivo_CFGManager *manager);

    void Uninitialize();

    QString CurrUser() const { return m_loginName; }
    QString UserDispalyedName() const { return m_displayedName; }
    qint32 UpdateAETitles() const { return m_updateAETitles; }
    qint32 DraftMaxAgeDays() const { return m_draftMaxAgeDays; }
    QString UserGroup() const { return m_group; }
    // Asked afresh every time: rights may change while the window is open.
    bool CanEdit() const;
    // The host's listener; null leaves the one held unchanged.
    void UIListener(::UIListener *listener);
    QString GetUserDisplayedName(const QString &login) const;

    // Opens the log, then reads the user context, the install root, the UI
    // settings, the update AE titles switch and the drafts' age.
    void Init();
    QString CorvalisRoot() const;
    // The install root found by Init.
    QString installRoot() const { return m_installRoot; }

    // The layout cycle. Reading: InitBeforeReadLayout, ReadFormLayout, then
    // ReadFieldLayout per set for "label" and "text". Saving: InitSaveTree,
    // WriteFormSize, WriteFieldLayout per set and kind, DumpDataToCFG.
    bool InitSaveTree();
    bool InitBeforeReadLayout(bool readDefault);
    // The same on a tree that holds the layouts at the store's paths: a
    // store opened elsewhere, or a tree in memory.
    bool InitBeforeReadLayout(const ConfigTree &store, bool readDefault);
    void UpdateAETagCaption(const QString &typeName, const QString &caption);
    void DumpDataToCFG();
    void ReadFieldLayout(LayoutRecord &record, int setNumber, const QString &kind) const;
    void WriteFormSize(const LayoutRecord &record);
    void ReadFormLayout(LayoutRecord &record) const;
    void WriteFieldLayout(const LayoutRecord &record, int setNumber, const QString &kind);
    void UpdateFieldType(const QString &type, int setNumber, const QString &kind);
    // One change of the store for what a caller writes through the manager
    // until it commits: a layout and the captions that go with it.
    ConfigTransaction transaction();

    // What InitBeforeReadLayout opened: "form_layout", "default_layout", or
    // "" when there is nothing to read; and the numbers of the sets stored
    // in it, ascending. Only stored sets count: a set number is no bound on
    // what to read, as a hand-edited "set999999999" must not make a reader
    // walk a billion missing sets.
    QString readLayoutName() const;
    QList<int> readSetNumbers() const;

private:
    ConfigDatabase &database() const;
    const ConfigTree &readTree() const;
    FreeConfigTree &saveTree() const;
    void readUserContext();

    std::unique_ptr<ConfigDatabase> m_database;
    std::unique_ptr<UserManager> m_userManager;
    QString m_group;
    ConfigTreePtr m_readTree;
    ComRef<::UIListener> m_listener;
    // The "form_layout" found by the last read; null when there was none, so
    // the next save creates it rather than replacing it.
    ConfigTreePtr m_storedLayout;
    std::shared_ptr<FreeConfigTree> m_saveTree;
    qint32 m_updateAETitles = 1;
    qint32 m_draftMaxAgeDays = DEFAULT_DRAFT_MAX_AGE_DAYS;
    QString m_displayedName;
    QString m_loginName;
    std::unique_ptr<UserDirectory> m_directory;
    QString m_installRoot;
};
