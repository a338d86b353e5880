#pragma once

// Everything the application calls in Orvo.dll is marked with ORVO_API.
#if defined(ORVO_BUILDING_DLL)
#define ORVO_API __declspec(dllexport)
#else
#define ORVO_API __declspec(dllimport)
#endif
