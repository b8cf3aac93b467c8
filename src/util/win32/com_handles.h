#pragma once
// Owning types for what COM hands out: the apartment, interface pointers, strings and
// task memory, one type per kind of release.
#include <windows.h>
#include <objbase.h>
#include <oleauto.h>

#include "util/unique_handle.h"

namespace vimbrel::win32 {

// COM on this thread for the life of the guard (the shell's folder dialog and automation
// need it); left uninitialised when the call failed.
class ComApartment {
public:
    ComApartment() : initialised_(SUCCEEDED(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {}
    ~ComApartment() {
        if (initialised_) ::CoUninitialize();
    }
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;

private:
    bool initialised_;
};

template <class T>
struct ComReleaseTraits {  // an interface pointer we hold one reference of
    static T* Invalid() { return nullptr; }
    static void Close(T* p) { p->Release(); }
};
template <class T>
using ComPtr = UniqueHandleT<T*, ComReleaseTraits<T>>;

struct BstrTraits {  // SysAllocString, and the strings a call fills in for us
    static BSTR Invalid() { return nullptr; }
    static void Close(BSTR s) { ::SysFreeString(s); }
};
using UniqueBstr = UniqueHandleT<BSTR, BstrTraits>;

template <class T>
struct CoTaskMemTraits {  // memory the shell hands out (item lists)
    static T* Invalid() { return nullptr; }
    static void Close(T* p) { ::CoTaskMemFree(p); }
};
template <class T>
using CoTaskMemPtr = UniqueHandleT<T*, CoTaskMemTraits<T>>;

}  // namespace vimbrel::win32
