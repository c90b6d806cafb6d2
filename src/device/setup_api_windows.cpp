#include "setup_api_windows.h"

namespace kvt {
namespace {

class SystemSetupApi final : public SetupApi {
public:
    HDEVINFO getClassDevs(const GUID *classGuid, PCSTR enumerator, HWND parent, DWORD flags) override
    {
        return SetupDiGetClassDevsA(classGuid, enumerator, parent, flags);
    }

    BOOL enumDeviceInterfaces(HDEVINFO info, PSP_DEVINFO_DATA device, const GUID *interfaceClass, DWORD index,
                              PSP_DEVICE_INTERFACE_DATA interfaceData) override
    {
        return SetupDiEnumDeviceInterfaces(info, device, interfaceClass, index, interfaceData);
    }

    BOOL getDeviceInterfaceDetail(HDEVINFO info, PSP_DEVICE_INTERFACE_DATA interfaceData,
                                  PSP_DEVICE_INTERFACE_DETAIL_DATA_A detail, DWORD detailSize, PDWORD requiredSize,
                                  PSP_DEVINFO_DATA device) override
    {
        return SetupDiGetDeviceInterfaceDetailA(info, interfaceData, detail, detailSize, requiredSize, device);
    }

    BOOL destroyDeviceInfoList(HDEVINFO info) override { return SetupDiDestroyDeviceInfoList(info); }
};

} // namespace

SetupApi &systemSetupApi()
{
    static SystemSetupApi api;
    return api;
}

} // namespace kvt
