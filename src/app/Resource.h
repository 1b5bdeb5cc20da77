#pragma once

#include "toolkit/CommandIds.h"
#include "view/ViewCommands.h"

// Resource ids of the program.
constexpr int IDR_MAINFRAME = 128;  // menu, accelerators, toolbar, icon and title of the main frame

// Controls.
constexpr int IDC_PARAMETER_COMBO = 1000;
constexpr int IDC_VALUE_SLIDER = 1001;
constexpr int IDC_MAXIMUM_LABEL = 1002;
constexpr int IDC_MINIMUM_LABEL = 1003;
constexpr int IDC_NODE_SPACING = 1004;
constexpr int IDC_CLOTH_WIDTH = 1005;
constexpr int IDC_CLOTH_HEIGHT = 1006;
constexpr int IDC_TIME_STEP_LABEL = 1006;
constexpr int IDC_TIME_STEP_SKIP = 1007;
constexpr int IDC_PATCHES_U = 1008;
constexpr int IDC_PATCHES_V = 1009;
// The Recording Settings dialog's format check boxes, in the order of recordingformat::all().
constexpr int IDC_FORMAT_FIRST = 1010;  // mel, then pc2, mdd, obj, glb up to 1014
constexpr int IDC_STABILITY_NOTE = 1015;  // the Cloth Initialization dialog's stability estimate
constexpr int IDC_LAY_FLAT = 1016;        // the Cloth Initialization dialog's "lying flat" choice

// Commands of the program's own.
constexpr int ID_VIEW_CLOTH_CONTROLS = 32771;
constexpr int ID_SIMULATION_RESET = 32773;  // lays the active document's cloth out again
constexpr int ID_VIEW_REAL_TIME = 32774;  // the simulation keeps to the wall clock
// Simulation > Pins: the pin presets of the active document's cloth.
constexpr int ID_PINS_DEFAULT = 32775;
constexpr int ID_PINS_TOP_EDGE = 32776;
constexpr int ID_PINS_TOP_CORNERS = 32777;
constexpr int ID_PINS_LEFT_EDGE = 32778;
constexpr int ID_PINS_NONE = 32779;
// The Scene menu: colliders added to the active document's scene, and its panel.
constexpr int ID_SCENE_ADD_GROUND = 32790;
constexpr int ID_SCENE_ADD_SPHERE = 32791;
constexpr int ID_SCENE_ADD_BOX = 32792;
constexpr int ID_SCENE_IMPORT_MESH = 32793;
constexpr int ID_VIEW_SCENE_PANEL = 32794;
constexpr int ID_VIEW_TIMELINE = 32795;  // shows or hides the timeline bar
// Simulation > Step Frame: the active document's cloth on to its next frame while stopped.
constexpr int ID_SIMULATION_STEP_FRAME = 32810;
// File > Export Image: the active view as a PNG file, and the size fields of its dialog.
constexpr int ID_FILE_EXPORT_IMAGE = 32811;
constexpr int IDC_IMAGE_WIDTH = 32812;
constexpr int IDC_IMAGE_HEIGHT = 32813;
// Simulation > Solver: how the active document's cloth is stepped.
constexpr int ID_SOLVER_EXPLICIT = 32780;
constexpr int ID_SOLVER_XPBD = 32781;
// Simulation > Presets: the materials, the user's saved presets, and saving one.
constexpr int ID_PRESET_FIRST = 32820;        // one per material, in the materials' order
constexpr int ID_PRESET_SAVE = 32828;
constexpr int ID_PRESET_SAVED_FIRST = 32830;  // up to ID_PRESET_SAVED_FIRST + 15

// The dialog bar, the second band of the top bars.
constexpr int kDialogBarId = 59397;
