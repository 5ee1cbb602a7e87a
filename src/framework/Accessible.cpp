#include "Accessible.h"

#include <oleacc.h>

namespace fw {

namespace {

// Written out here: the import library that would hold them is one more dependency of a
// static program for three numbers.
constexpr GUID kAccPropServicesClass = {0xb5f8350b, 0x0548, 0x48b1, {0xa6, 0xee, 0x88, 0xbd, 0x00, 0xb4, 0xa5, 0xe7}};
constexpr GUID kAccPropServicesInterface = {
    0x6e26e776, 0x04f0, 0x495d, {0x80, 0xe4, 0x33, 0x30, 0x35, 0x2e, 0x31, 0x69}};
constexpr GUID kNameProperty = {0x608d3df8, 0x8128, 0x4aa7, {0xa4, 0x28, 0xf5, 0x5e, 0x49, 0x26, 0x72, 0x91}};

bool ShowsItsOwnText(HWND control)
{
    wchar_t cls[32] = {};
    ::GetClassNameW(control, cls, 32);
    if (::lstrcmpiW(cls, L"Button") != 0)
        return true;
    const LONG_PTR style = ::GetWindowLongPtrW(control, GWL_STYLE);
    return (style & (BS_ICON | BS_BITMAP)) == 0 && (style & BS_TYPEMASK) != BS_OWNERDRAW;
}

} // namespace

void NameControls(const std::vector<std::pair<HWND, std::wstring>>& names)
{
    IAccPropServices* services = nullptr;
    const HRESULT com = ::CoInitialize(nullptr);
    for (const auto& [control, name] : names) {
        if (control == nullptr)
            continue;
        if (!ShowsItsOwnText(control)) {
            ::SetWindowTextW(control, name.c_str());
            continue;
        }
        if (services == nullptr &&
            FAILED(::CoCreateInstance(kAccPropServicesClass, nullptr, CLSCTX_INPROC_SERVER, kAccPropServicesInterface,
                                      reinterpret_cast<void**>(&services))))
            services = nullptr;
        if (services != nullptr)
            services->SetHwndPropStr(control, static_cast<DWORD>(OBJID_CLIENT), CHILDID_SELF, kNameProperty,
                                     name.c_str());
    }
    if (services != nullptr)
        services->Release();
    if (SUCCEEDED(com))
        ::CoUninitialize();
}

} // namespace fw
