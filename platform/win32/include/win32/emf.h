// Enhanced metafiles: record types, record layouts, the checked reader and
// typed access to its records.
#pragma once

#include "win32/emf_record_types.h"
#include "win32/emf_records.h"
#include "win32/emf_blit_records.h"
#include "win32/emf_reader.h"
#include "win32/emf_record_views.h"
#include "win32/emf_font_records.h"
