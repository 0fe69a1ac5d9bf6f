#pragma once

#include <kivo/ComRef.h>
#include <kivo/TF_IUI.h>

#include <QString>

// The teaching-file component as a third-party host reaches it: the library
// opened with dlopen, the factory found by name, one Kivo_Manager created
// through it. The library stays loaded for the life of the process; Qt keeps
// pointers into any library that created widgets.
class TeachingFileComponent
{
public:
    // Throws std::runtime_error when the library, its factory or the class
    // cannot be had.
    explicit TeachingFileComponent(const QString &libraryFile);
    // UnInitialize (when Init succeeded); the last reference goes with it.
    ~TeachingFileComponent();
    TeachingFileComponent(const TeachingFileComponent &) = delete;
    TeachingFileComponent &operator=(const TeachingFileComponent &) = delete;

    TF_IUI *operator->() const { return m_manager.get(); }

    void init();
    // Throws std::runtime_error carrying the component's own description of
    // a failed call.
    static void check(HRESULT result, const char *operation);
    // The description the component left for the failed call, else a
    // generic one.
    static QString describeFailure(HRESULT result, const char *operation);

private:
    ComRef<TF_IUI> m_manager;
    bool m_initialised = false;
};
