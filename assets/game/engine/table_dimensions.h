// Sizes of the Kestrowin table, shared by the engine and the asset generator so that the table description
// in the assets can never disagree with what the engine draws.
#pragma once

// Playing surface between the cushion noses, in millimetres.
#define E3D_TABLE_LENGTH_MM 2240
#define E3D_TABLE_WIDTH_MM 1120
#define E3D_BALL_DIAMETER_MM 57

// Rubber cushion and the wooden rail around it.
#define E3D_CUSHION_MM 45
#define E3D_RAIL_MM 110

#define E3D_CORNER_POCKET_RADIUS_MM 62
#define E3D_SIDE_POCKET_RADIUS_MM 55
