#include "ui/module_resources.h"

ModuleResourceScope::ModuleResourceScope() : m_hPrevious(AfxGetResourceHandle()) {
    AfxSetResourceHandle(ModuleResourceHandle());
}

ModuleResourceScope::~ModuleResourceScope() {
    AfxSetResourceHandle(m_hPrevious);
}
