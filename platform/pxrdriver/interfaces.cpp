// Out-of-line destructors: the framework library holds the virtual tables
// and type information of its interfaces, shared by host and drivers.
#include "pxrdriver/driver_list.h"
#include "pxrdriver/ht_driver.h"
#include "pxrdriver/output_channel.h"
#include "pxrdriver/rip.h"

HT_IF::~HT_IF() = default;
HT_Driver::~HT_Driver() = default;
HT_DriverList::~HT_DriverList() = default;
OutputChannel::~OutputChannel() = default;
CRipCallBack::~CRipCallBack() = default;
int CRipCallBack::PreparesBands() {
    return 0;
}
int CRipCallBack::PrepareBand(const RECT*, const RECT*, const RipBandBits*, const BYTE*,
                              RipBandWrites*) {
    return 0;
}
IDrawCallback::~IDrawCallback() = default;
