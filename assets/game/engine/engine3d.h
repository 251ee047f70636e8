// The C interface of the Engine3D library. Plain C with cdecl and undecorated names, so that the DLL can
// be loaded by programs from any compiler and its exports read the same in every tool.
#pragma once

#include <windows.h>

#include "table_dimensions.h"

#ifdef ENGINE3D_BUILDING
#define E3D_API __declspec(dllexport)
#else
#define E3D_API __declspec(dllimport)
#endif

#ifdef __cplusplus
extern "C" {
#endif

// Bumped whenever a signature or struct below changes, so a game can refuse a DLL it was not built for.
#define E3D_API_VERSION 1

// Cue ball plus fifteen object balls.
#define E3D_RACK_BALLS 16

// A ball on the surface: centre in millimetres from the top-left corner of the playing surface,
// number 0 for the cue ball, 1-7 solids, 8 the black, 9-15 stripes.
typedef struct E3DBall {
    float x;
    float y;
    int number;
} E3DBall;

E3D_API int E3D_ApiVersion(void);

// Fills up to `capacity` balls in the opening position of an eight-ball game and returns how many balls
// the full rack has; a caller may ask with capacity 0 first.
E3D_API int E3D_RackBalls(E3DBall* out, int capacity);

// Draws rails, cloth, pockets and sights, fitted into `area` with the table's proportions kept.
E3D_API void E3D_DrawTable(HDC dc, const RECT* area);

// Draws balls at their table positions, using the same fitting into `area` as E3D_DrawTable.
E3D_API void E3D_DrawBalls(HDC dc, const RECT* area, const E3DBall* balls, int count);

#ifdef __cplusplus
}
#endif
