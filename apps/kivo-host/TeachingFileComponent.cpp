#include "TeachingFileComponent.h"

#include "platform/BstrText.h"

#include <kivo/runtime.h>

#include <QFile>

#include <dlfcn.h>

#include <cstdio>
#include <stdexcept>

namespace {

std::runtime_error loadError(const QString &what)
{
    return std::runtime_error(what.toStdString());
}

} // namespace

TeachingFileComponent::TeachingFileComponent(const QString &libraryFile)
{
    void *library = dlopen(QFile::encodeName(libraryFile).constData(), RTLD_NOW | RTLD_LOCAL);
    if (!library)
        throw loadError(QStringLiteral("cannot load the teaching-file component: %1")
                            .arg(QString::fromLocal8Bit(dlerror())));
    auto getClassObject =
        reinterpret_cast<DllGetClassObjectFn>(dlsym(library, KIVO_FACTORY_SYMBOL));
    if (!getClassObject) {
        dlclose(library);
        throw loadError(QStringLiteral("%1 has no entry point %2")
                            .arg(libraryFile, QLatin1String(KIVO_FACTORY_SYMBOL)));
    }
    ComRef<IClassFactory> factory;
    check(getClassObject(CLSID_Kivo_Manager, IID_IClassFactory,
                         reinterpret_cast<void **>(factory.put())),
          "DllGetClassObject");
    check(factory->CreateInstance(nullptr, IID_TF_IUI, reinterpret_cast<void **>(m_manager.put())),
          "CreateInstance");
}

TeachingFileComponent::~TeachingFileComponent()
{
    if (m_initialised) {
        const HRESULT result = m_manager->UnInitialize();
        if (FAILED(result)) {
            std::fprintf(stderr, "kivo-host: %s\n",
                         qPrintable(describeFailure(result, "UnInitialize")));
        }
    }
}

void TeachingFileComponent::init()
{
    check(m_manager->Init(), "Init");
    m_initialised = true;
}

void TeachingFileComponent::check(HRESULT result, const char *operation)
{
    if (FAILED(result))
        throw std::runtime_error(describeFailure(result, operation).toStdString());
}

QString TeachingFileComponent::describeFailure(HRESULT result, const char *operation)
{
    BSTR description = nullptr;
    QString text;
    if (GetErrorDescription(&description) == S_OK)
        text = fromBstr(description);
    SysFreeString(description);
    if (text.isEmpty()) {
        text = QStringLiteral("%1 failed with 0x%2")
                   .arg(QLatin1String(operation))
                   .arg(static_cast<quint32>(result), 8, 16, QLatin1Char('0'));
    }
    return text;
}
