#pragma once

// The toolbar's Run command: starts and stops the view's simulation timer.
constexpr int ID_RUN = 32772;
// View > camera: looking along −z, −x and −y, the first camera again, and the scene filling the view.
constexpr int ID_VIEW_FRONT = 32800;
constexpr int ID_VIEW_SIDE = 32801;
constexpr int ID_VIEW_TOP = 32802;
constexpr int ID_VIEW_RESET_CAMERA = 32803;
constexpr int ID_VIEW_FRAME_SCENE = 32804;
// View > display options of the active view, remembered for the views to come.
constexpr int ID_VIEW_WIREFRAME = 32846;
constexpr int ID_VIEW_NODES = 32847;
constexpr int ID_VIEW_PINS = 32848;
constexpr int ID_VIEW_FLOOR_GRID = 32849;
constexpr int ID_VIEW_CLOTH_COLOUR = 32850;
