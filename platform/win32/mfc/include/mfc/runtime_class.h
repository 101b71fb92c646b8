// MFC run-time classes: a class's name, size and base, and for classes
// declared DYNCREATE a factory through the default constructor, so that a
// thread or window object can be made from RUNTIME_CLASS(name) alone.
#pragma once

#include "win32/types.h"

class CObject;

struct WIN32_API CRuntimeClass {
    LPCSTR m_lpszClassName;
    int m_nObjectSize;
    UINT m_wSchema;
    CObject* (*m_pfnCreateObject)();
    CRuntimeClass* (*m_pfnGetBaseClass)();

    // A new object of the class; null when the class cannot be created
    // dynamically or memory runs out.
    CObject* CreateObject();
    BOOL IsDerivedFrom(const CRuntimeClass* pBaseClass) const;
};

class WIN32_API CObject {
public:
    virtual ~CObject();
    virtual CRuntimeClass* GetRuntimeClass() const;
    BOOL IsKindOf(const CRuntimeClass* pClass) const;
    static CRuntimeClass classCObject;
    static CRuntimeClass* GetThisClass();

protected:
    CObject() = default;
};

#define RUNTIME_CLASS(class_name) (class_name::GetThisClass())

#define DECLARE_DYNAMIC(class_name)         \
public:                                     \
    static CRuntimeClass class##class_name; \
    static CRuntimeClass* GetThisClass();   \
    CRuntimeClass* GetRuntimeClass() const override;

#define DECLARE_DYNCREATE(class_name) \
    DECLARE_DYNAMIC(class_name)       \
    static CObject* CreateObject();

#define IMPLEMENT_RUNTIMECLASS(class_name, base_class_name, wSchema, pfnNew)                      \
    CRuntimeClass class_name::class##class_name = {#class_name,                                   \
                                                   static_cast<int>(sizeof(class_name)), wSchema, \
                                                   pfnNew, &base_class_name::GetThisClass};       \
    CRuntimeClass* class_name::GetThisClass() {                                                   \
        return &class_name::class##class_name;                                                    \
    }                                                                                             \
    CRuntimeClass* class_name::GetRuntimeClass() const {                                          \
        return &class_name::class##class_name;                                                    \
    }

#define IMPLEMENT_DYNAMIC(class_name, base_class_name) \
    IMPLEMENT_RUNTIMECLASS(class_name, base_class_name, 0xFFFF, nullptr)

#define IMPLEMENT_DYNCREATE(class_name, base_class_name) \
    CObject* class_name::CreateObject() {                \
        return new class_name;                           \
    }                                                    \
    IMPLEMENT_RUNTIMECLASS(class_name, base_class_name, 0xFFFF, class_name::CreateObject)
