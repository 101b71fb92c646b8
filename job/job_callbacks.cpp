#include "driver/callback_groups.h"
#include "hpgl/polyline.h"
#include "hpgl/clip_callbacks.h"
#include "job/job_frame.h"
#include "job/start_document.h"

void InstallJobCallbacks(DriverCallbacks* t) {
    t->BeginJob = BeginJob;
    t->EndJob = EndJob;
    t->OpenOutput = OpenOutput;
    t->StartDocument = StartDocument;
    t->EndDocument = EndDocument;
    t->SetParentWindow = SetParentWindow;
    t->EmitPolyline = EmitPolyline;
    t->OnResetInputWindow = OnResetInputWindow;
}
