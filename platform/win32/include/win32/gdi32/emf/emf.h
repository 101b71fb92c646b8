// Enhanced metafiles: record types, record layouts, the checked reader and
// typed access to its records.
#pragma once

#include "win32/gdi32/emf/emf_record_types.h"
#include "win32/gdi32/emf/emf_records.h"
#include "win32/gdi32/emf/emf_blit_records.h"
#include "win32/gdi32/emf/emf_reader.h"
#include "win32/gdi32/emf/emf_record_views.h"
#include "win32/gdi32/emf/emf_font_records.h"
#include "win32/gdi32/emf/emf_pen_records.h"
