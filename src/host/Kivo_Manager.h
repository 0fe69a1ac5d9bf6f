#pragma once

#include <kivo/ComObject.h>
#include <kivo/ComRef.h>
#include <kivo/TF_IUI.h>

#include <QMetaObject>
#include <QPointer>

#include <memory>

class Kivo_CFGManager;
class Kivo_UIManager;

// The component's one creatable class: the host's handle on the
// teaching-file window. Every operation forwards to the form; what it decides
// itself is the course of an entry (the first Show builds the form from the
// stored layout, later ones refill it; HandleBeforeDone asks whether to keep
// unsaved changes) and passing the form's events to the host's listener.
//
// Only one object at a time may be initialised in a process: the
// configuration manager and the mouse-wheel hook are component-wide.
class Kivo_Manager final : public ComObject<TF_IUI, &IID_TF_IUI>
{
public:
    Kivo_Manager();

    HRESULT Init() override;
    HRESULT put_Visible(LONG visible) override;
    HRESULT get_Visible(LONG *visible) override;
    HRESULT put_UIListener(UIListener *listener) override;
    HRESULT Show(TFData *data) override;
    HRESULT UpdateData(TFData *data) override;
    HRESULT UnInitialize() override;
    HRESULT PositionWindow(LONG position) override;
    HRESULT Parent(LONG ownerWindow) override;
    HRESULT ViewOnly(LONG viewOnly) override;
    HRESULT get_HWND(LONG *window) override;
    HRESULT CloseSession() override;
    HRESULT HandleBeforeDone(LONG skipQuestion, TFData **data) override;
    HRESULT Minimize() override;
    HRESULT Restore() override;
    HRESULT SubmitCompleted(LONG status) override;

private:
    ~Kivo_Manager() override;

    void initialise();
    // The form, for an operation that needs one; throws HostCallError when
    // the object is not initialised or is called off the UI thread.
    Kivo_UIManager &form(const char *operation) const;
    void setVisible(LONG visible);
    void show(TFData *data);
    TFData *handleBeforeDone(LONG skipQuestion);
    void onFormClosed();
    void onSubmitPressed(TFData *data);
    // Unloads the form and releases the configuration manager; every step
    // runs even when an earlier one fails, and the first failure is rethrown.
    void tearDown();

    QPointer<Kivo_UIManager> m_pTFForm;
    std::unique_ptr<Kivo_CFGManager> m_cfgManager;
    QMetaObject::Connection m_formClosedConnection;
    QMetaObject::Connection m_submitConnection;
    ComRef<UIListener> m_listener;
    LONG m_viewOnly = 0;
    LONG m_showCount = 0;
    bool m_everInitialised = false;
};
