#pragma once

// Everything the host framework library exports.
#define PXR_API __attribute__((visibility("default")))
