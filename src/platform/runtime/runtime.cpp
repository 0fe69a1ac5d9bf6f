#include <kivo/runtime.h>

#include <cstdlib>
#include <cstring>
#include <map>
#include <mutex>
#include <string>

namespace {

size_t lengthOf(const OLECHAR *text)
{
    size_t n = 0;
    if (text) {
        while (text[n])
            ++n;
    }
    return n;
}

struct LastError
{
    HRESULT hr = S_OK;
    std::u16string description;
    bool set = false;
};
thread_local LastError lastError;

std::mutex platformValuesMutex;
std::map<std::u16string, std::u16string> &platformValues()
{
    static std::map<std::u16string, std::u16string> values;
    return values;
}

} // namespace

extern "C" {

BSTR SysAllocStringLen(const OLECHAR *text, uint32_t length)
{
    // The byte length must fit the 32-bit prefix.
    if (length > (UINT32_MAX - sizeof(uint32_t) - sizeof(OLECHAR)) / sizeof(OLECHAR))
        return nullptr;
    const uint32_t bytes = length * sizeof(OLECHAR);
    auto *block = static_cast<char *>(std::malloc(sizeof(uint32_t) + bytes + sizeof(OLECHAR)));
    if (!block)
        return nullptr;
    std::memcpy(block, &bytes, sizeof bytes);
    BSTR result = reinterpret_cast<BSTR>(block + sizeof(uint32_t));
    if (text)
        std::memcpy(result, text, bytes);
    else
        std::memset(result, 0, bytes);
    result[length] = 0;
    return result;
}

BSTR SysAllocString(const OLECHAR *text)
{
    if (!text)
        return nullptr;
    return SysAllocStringLen(text, static_cast<uint32_t>(lengthOf(text)));
}

void SysFreeString(BSTR text)
{
    if (text)
        std::free(reinterpret_cast<char *>(text) - sizeof(uint32_t));
}

uint32_t SysStringLen(BSTR text)
{
    if (!text)
        return 0;
    uint32_t bytes;
    std::memcpy(&bytes, reinterpret_cast<char *>(text) - sizeof(uint32_t), sizeof bytes);
    return bytes / sizeof(OLECHAR);
}

void SetErrorDescription(HRESULT hr, const OLECHAR *description)
{
    lastError.hr = hr;
    lastError.description.assign(description ? description : u"");
    lastError.set = true;
}

HRESULT GetErrorDescription(BSTR *description)
{
    if (!description)
        return E_POINTER;
    if (!lastError.set) {
        *description = nullptr;
        return S_FALSE;
    }
    *description = SysAllocStringLen(lastError.description.data(),
                                     static_cast<uint32_t>(lastError.description.size()));
    lastError = LastError();
    return *description ? S_OK : E_OUTOFMEMORY;
}

HRESULT SetPlatformValue(const OLECHAR *name, const OLECHAR *value)
{
    if (!name || !*name)
        return E_INVALIDARG;
    std::lock_guard<std::mutex> lock(platformValuesMutex);
    if (!value || !*value)
        platformValues().erase(name);
    else
        platformValues()[name] = value;
    return S_OK;
}

HRESULT GetPlatformValue(const OLECHAR *name, BSTR *value)
{
    if (!value)
        return E_POINTER;
    *value = nullptr;
    if (!name || !*name)
        return E_INVALIDARG;
    std::lock_guard<std::mutex> lock(platformValuesMutex);
    const auto found = platformValues().find(name);
    if (found == platformValues().end())
        return S_FALSE;
    *value = SysAllocStringLen(found->second.data(), static_cast<uint32_t>(found->second.size()));
    return *value ? S_OK : E_OUTOFMEMORY;
}
}
