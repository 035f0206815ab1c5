#pragma once

#include <windows.h>

// A lock between the threads of the program (Windows 95 and NT 4.0 have it).
class CriticalSection {
public:
    CriticalSection() { InitializeCriticalSection(&section_); }
    ~CriticalSection() { DeleteCriticalSection(&section_); }
    CriticalSection(const CriticalSection&) = delete;
    CriticalSection& operator=(const CriticalSection&) = delete;

    class Locked {
    public:
        explicit Locked(CriticalSection& lock) : lock_(lock) { EnterCriticalSection(&lock_.section_); }
        ~Locked() { LeaveCriticalSection(&lock_.section_); }
        Locked(const Locked&) = delete;
        Locked& operator=(const Locked&) = delete;

    private:
        CriticalSection& lock_;
    };

private:
    CRITICAL_SECTION section_;
};
