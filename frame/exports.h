// Declares every export with the visibility that puts it in the module's export table.
#pragma once

#include "host/exports.h"

#ifdef _WIN32
#define NIMBO_EXPORT __declspec(dllexport)
#else
#define NIMBO_EXPORT __attribute__((visibility("default")))
#endif

#define NIMBO_DECLARE_EXPORT(name, ret, params) extern "C" NIMBO_EXPORT ret VO_CALL name params;
VO_ALL_EXPORTS(NIMBO_DECLARE_EXPORT)
#undef NIMBO_DECLARE_EXPORT
