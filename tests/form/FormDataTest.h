#pragma once

#include "ScratchStore.h"

#include "config/Kivo_CFGManager.h"
#include "config/StoreSeed.h"
#include "form/FieldTextBox.h"
#include "form/Kivo_UIManager.h"
#include "platform/config/ConfigDatabase.h"

#include <QComboBox>

#include <memory>

// A form on a freshly seeded store of the test's own, with the seeded
// radiologist logged in and the configuration manager published, so each
// test may change the stored layout or settings without touching the next.
class FormDataTest : public ScratchStore
{
protected:
    void SetUp() override
    {
        TestLog::useTemporaryFolder();
        ScratchStore::SetUp();
        SetPlatformValue(u"CurrUser", u"radiologist");
        ConfigDatabase database(m_file);
        seedStore(database, true);
        m_manager = std::make_unique<Kivo_CFGManager>();
        m_manager->Init();
        Kivo_CFGManager::setInstance(m_manager.get());
        m_form = std::make_unique<Kivo_UIManager>();
    }

    void TearDown() override
    {
        m_form->Uninitialize();
        m_form.reset();
        Kivo_CFGManager::setInstance(nullptr);
        m_manager->Uninitialize();
        m_manager.reset();
        SetPlatformValue(u"CurrUser", nullptr);
        ScratchStore::TearDown();
    }

    template <typename T> T *control(const char *name) const
    {
        auto *found = m_form->findChild<T *>(QLatin1String(name));
        EXPECT_NE(found, nullptr) << name;
        return found;
    }

    // Member index of a control array (m_aLabels, m_aText, m_aCombo).
    template <typename T> T *member(const char *array, int index) const
    {
        for (T *candidate : m_form->findChildren<T *>(QLatin1String(array))) {
            if (candidate->property("index").toInt() == index)
                return candidate;
        }
        ADD_FAILURE() << array << "(" << index << ") missing";
        return nullptr;
    }

    QComboBox *combo(int index) const { return member<QComboBox>("m_aCombo", index); }
    FieldTextBox *box(int index) const { return member<FieldTextBox>("m_aText", index); }

    // A user layout of two sets, stored beside the seeded default one: set 1 with
    // a lower-case tag, a zero width and a negative height, and no maximum
    // length; set 2 without a tag, a drop-down without a table, maximum length 0.
    static void storeTwoSetLayout()
    {
        ConfigDatabase database;
        const QString root = QLatin1String(Kivo_CFGManager::LAYOUT_PATH) + QLatin1Char('\\');
        database.WriteString(root + QStringLiteral("set1\\tag"), QStringLiteral("kesto_tf_one"));
        database.WriteString(root + QStringLiteral("set1\\label\\caption"), QStringLiteral("One:"));
        database.WriteLong(root + QStringLiteral("set1\\label\\top"), 100);
        database.WriteLong(root + QStringLiteral("set1\\text\\top"), 400);
        database.WriteLong(root + QStringLiteral("set1\\text\\width"), 0);
        database.WriteLong(root + QStringLiteral("set1\\text\\height"), -5);
        database.WriteString(root + QStringLiteral("set1\\text\\type"), QStringLiteral("TEXT"));
        database.WriteString(root + QStringLiteral("set2\\label\\caption"), QStringLiteral("Two:"));
        database.WriteLong(root + QStringLiteral("set2\\text\\max_length"), 0);
        database.WriteString(root + QStringLiteral("set2\\text\\type"),
                             QStringLiteral("DROP DOWN"));
    }

    std::unique_ptr<Kivo_CFGManager> m_manager;
    std::unique_ptr<Kivo_UIManager> m_form;
};
