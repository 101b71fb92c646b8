#include "driver/callback_groups.h"
#include "hpgl/clip_callbacks.h"
#include "hpgl/polygon_fill.h"
#include "hpgl/polyline.h"
#include "hpgl/state_callbacks.h"

void InstallVectorCallbacks(DriverCallbacks* t) {
    t->OnPolyline = OnPolyline;
    t->OnPolygon = OnPolygon;
    t->OnBeginPath = OnBeginPath;
    t->OnEndPath = OnEndPath;
    t->OnRefillPolygon = OnRefillPolygon;
    t->OnFillPath = OnFillPath;
    t->OnSetFillMode = OnSetFillMode;
    t->OnSelectPen = OnSelectPen;
    t->OnSelectBrush = OnSelectBrush;
    t->OnSetRop2 = OnSetRop2;
    t->OnSetClipRegion = OnSetClipRegion;
}
