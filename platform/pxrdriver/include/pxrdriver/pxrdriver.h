// The host framework library, as plotter drivers see it.
#pragma once

#include "pxrdriver/api.h"
#include "pxrdriver/app_paths.h"
#include "pxrdriver/driver_callbacks.h"
#include "pxrdriver/driver_list.h"
#include "pxrdriver/driver_listing.h"
#include "pxrdriver/host_context.h"
#include "pxrdriver/ht_driver.h"
#include "pxrdriver/output_channel.h"
#include "pxrdriver/paper.h"
#include "pxrdriver/rip.h"
#include "pxrdriver/rip_implate.h"
#include "pxrdriver/regions.h"
