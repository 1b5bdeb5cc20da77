#include "app/AppResources.h"

#include "app/Resource.h"
#include "app/SavedPresets.h"
#include "cloth/MaterialPresets.h"

namespace AppResources {

namespace {

const MenuItem kSeparator = {0, nullptr};

PopupMenu fileMenu(bool withDocument) {
  PopupMenu file = {"&File", {{ID_FILE_NEW, "&New\tCtrl+N"}, {ID_FILE_OPEN, "&Open...\tCtrl+O"}}};
  if (withDocument) {
    file.items.insert(file.items.end(), {{ID_FILE_CLOSE, "&Close"},
                                         {ID_FILE_SAVE, "&Save\tCtrl+S"},
                                         {ID_FILE_SAVE_AS, "Save &As..."},
                                         {ID_FILE_EXPORT_IMAGE, "&Export Image..."},
                                         kSeparator,
                                         {ID_FILE_PRINT, "&Print...\tCtrl+P"},
                                         {ID_FILE_PRINT_PREVIEW, "Print Pre&view"}});
  } else {
    file.items.push_back(kSeparator);
  }
  file.items.insert(file.items.end(), {{ID_FILE_PRINT_SETUP, "P&rint Setup..."},
                                       kSeparator,
                                       {ID_FILE_MRU_FILE1, "Recent File"},
                                       kSeparator,
                                       {ID_APP_EXIT, "E&xit"}});
  return file;
}

const PopupMenu kEditMenu = {"&Edit", {{ID_EDIT_UNDO, "&Undo\tCtrl+Z"}, {ID_EDIT_REDO, "&Redo\tCtrl+Shift+Z"}}};

// The materials, then the user's saved presets (hidden while the slot is empty), then saving one.
MenuItem presetsMenu() {
  MenuItem presets = {0, "Presets", {}};
  for (int i = 0; i < static_cast<int>(std::size(kMaterialPresets)); ++i)
    presets.submenu.push_back({ID_PRESET_FIRST + i, kMaterialPresets[i].name});
  presets.submenu.push_back(kSeparator);
  for (int slot = 0; slot < SavedPresets::kSlots; ++slot) presets.submenu.push_back({ID_PRESET_SAVED_FIRST + slot, "Saved Preset"});
  presets.submenu.push_back(kSeparator);
  presets.submenu.push_back({ID_PRESET_SAVE, "&Save Current as Preset..."});
  return presets;
}

PopupMenu viewMenu(bool withDocument) {
  PopupMenu view = {"&View",
                    {{ID_VIEW_TOOLBAR, "&Toolbar"}, {ID_VIEW_STATUS_BAR, "&Status Bar"}, {ID_VIEW_TIMELINE, "T&imeline"}}};
  if (withDocument)
    view.items.insert(view.items.end(), {{ID_VIEW_CLOTH_CONTROLS, "&Cloth Controls"},
                                         {ID_VIEW_SCENE_PANEL, "Sc&ene Panel"},
                                         kSeparator,
                                         {ID_VIEW_FRONT, "&Front\tNum+1"},
                                         {ID_VIEW_SIDE, "S&ide\tNum+3"},
                                         {ID_VIEW_TOP, "To&p\tNum+7"},
                                         {ID_VIEW_RESET_CAMERA, "&Reset Camera\tHome"},
                                         {ID_VIEW_FRAME_SCENE, "Frame the Clot&h\tF"},
                                         kSeparator,
                                         {ID_VIEW_WIREFRAME, "&Wireframe"},
                                         {ID_VIEW_NODES, "Show &Nodes"},
                                         {ID_VIEW_PINS, "Show P&ins"},
                                         {ID_VIEW_FLOOR_GRID, "Floor &Grid"},
                                         {ID_VIEW_CLOTH_COLOUR, "Cloth C&olour..."}});
  return view;
}

const PopupMenu kHelpMenu = {"&Help", {{ID_APP_ABOUT, "&About Loomwise..."}}};

}  // namespace

const MenuResource& mainMenu() {
  static const MenuResource menu = {fileMenu(false), viewMenu(false), kHelpMenu};
  return menu;
}

const MenuResource& documentMenu() {
  static const MenuResource menu = {
      fileMenu(true),
      kEditMenu,
      viewMenu(true),
      {"&Simulation",
       {{ID_RUN, "&Run\tCtrl+R"},
        {ID_VIEW_REAL_TIME, "Real &Time\tCtrl+T"},
        {ID_SIMULATION_STEP_FRAME, "Step &Frame"},
        kSeparator,
        {0,
         "&Pins",
         {{ID_PINS_DEFAULT, "&Default"},
          {ID_PINS_TOP_EDGE, "&Top Edge"},
          {ID_PINS_TOP_CORNERS, "Top &Corners"},
          {ID_PINS_LEFT_EDGE, "&Left Edge"},
          {ID_PINS_NONE, "&None"}}},
        {0, "&Solver", {{ID_SOLVER_EXPLICIT, "&Explicit"}, {ID_SOLVER_XPBD, "&XPBD"}}},
        presetsMenu(),
        kSeparator,
        {ID_SIMULATION_RESET, "R&eset\tCtrl+Shift+R"}}},
      {"S&cene",
       {{ID_SCENE_ADD_GROUND, "Add &Ground Plane"},
        {ID_SCENE_ADD_SPHERE, "Add &Sphere"},
        {ID_SCENE_ADD_BOX, "Add &Box"},
        kSeparator,
        {ID_SCENE_IMPORT_MESH, "&Import Collider Mesh..."}}},
      {"&Window",
       {{ID_WINDOW_NEW, "&New Window"},
        {ID_WINDOW_CASCADE, "&Cascade"},
        {ID_WINDOW_TILE_HORZ, "&Tile"},
        {ID_WINDOW_ARRANGE, "&Arrange Icons"}}},
      kHelpMenu};
  return menu;
}

const std::vector<Accelerator>& accelerators() {
  static const std::vector<Accelerator> table = {
      {QKeySequence(Qt::CTRL | Qt::Key_N), ID_FILE_NEW},
      {QKeySequence(Qt::CTRL | Qt::Key_O), ID_FILE_OPEN},
      {QKeySequence(Qt::CTRL | Qt::Key_S), ID_FILE_SAVE},
      {QKeySequence(Qt::CTRL | Qt::Key_P), ID_FILE_PRINT},
      {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_R), ID_SIMULATION_RESET},
      {QKeySequence(Qt::Key_F6), ID_NEXT_PANE},
      {QKeySequence(Qt::SHIFT | Qt::Key_F6), ID_PREV_PANE},
      {QKeySequence(Qt::CTRL | Qt::Key_R), ID_RUN},
      {QKeySequence(Qt::CTRL | Qt::Key_T), ID_VIEW_REAL_TIME},
      {QKeySequence(Qt::CTRL | Qt::Key_Z), ID_EDIT_UNDO},
      {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), ID_EDIT_REDO},
      {QKeySequence(Qt::KeypadModifier | Qt::Key_1), ID_VIEW_FRONT},
      {QKeySequence(Qt::KeypadModifier | Qt::Key_3), ID_VIEW_SIDE},
      {QKeySequence(Qt::KeypadModifier | Qt::Key_7), ID_VIEW_TOP},
      {QKeySequence(Qt::Key_Home), ID_VIEW_RESET_CAMERA},
      {QKeySequence(Qt::Key_F), ID_VIEW_FRAME_SCENE},
  };
  return table;
}

const std::vector<ToolbarButton>& toolbar() {
  static const std::vector<ToolbarButton> buttons = {
      {ID_FILE_NEW, ":/icons/new.xpm"},     {ID_FILE_OPEN, ":/icons/open.xpm"},
      {ID_FILE_SAVE, ":/icons/save.xpm"},   {0, nullptr},
      {ID_FILE_PRINT, ":/icons/print.xpm"}, {0, nullptr},
      {ID_APP_ABOUT, ":/icons/about.xpm"},  {ID_RUN, ":/icons/run.xpm"},
      {ID_SIMULATION_RESET, ":/icons/reset.xpm"},
  };
  return buttons;
}

const StringTable& strings() {
  static const StringTable table = [] {
    StringTable t = {
        {IDR_MAINFRAME, "Loomwise"},
        {ID_VIEW_CLOTH_CONTROLS, "Toggle display of cloth control dialog."},
        {ID_RUN, "Run..."},
        {ID_SIMULATION_RESET, "Lay the cloth out again as it was made, keeping its parameters\nReset"},
        {ID_VIEW_REAL_TIME, "Run the simulation as fast as the wall clock\nReal Time"},
        {ID_SIMULATION_STEP_FRAME, "Take the steps to the cloth's next frame while it is stopped\nStep Frame"},
        {ID_PINS_DEFAULT, "Pin the top row every eighth node; Ctrl+click a node to pin or unpin it\nDefault Pins"},
        {ID_PINS_TOP_EDGE, "Pin every node of the top row; Ctrl+click a node to pin or unpin it\nTop Edge"},
        {ID_PINS_TOP_CORNERS, "Pin the two top corners; Ctrl+click a node to pin or unpin it\nTop Corners"},
        {ID_PINS_LEFT_EDGE, "Pin every node of the left column; Ctrl+click a node to pin or unpin it\nLeft Edge"},
        {ID_PINS_NONE, "Pin nothing: the cloth falls; Ctrl+click a node to pin it\nNo Pins"},
        {ID_SCENE_ADD_GROUND, "Add a ground plane under the cloth\nAdd Ground Plane"},
        {ID_SCENE_ADD_SPHERE, "Add a sphere under the cloth\nAdd Sphere"},
        {ID_SCENE_ADD_BOX, "Add a box under the cloth\nAdd Box"},
        {ID_SCENE_IMPORT_MESH, "Add a collider read from a mesh file (OBJ, STL, PLY, glTF...)\nImport Collider Mesh"},
        {ID_VIEW_SCENE_PANEL, "Show or hide the scene's colliders, thickness and friction\nScene Panel"},
        {ID_VIEW_FRONT, "Look at the scene from the front, along -z\nFront View"},
        {ID_VIEW_SIDE, "Look at the scene from the right side, along -x\nSide View"},
        {ID_VIEW_TOP, "Look down on the scene, along -y\nTop View"},
        {ID_VIEW_RESET_CAMERA, "Put the camera back as a new view has it\nReset Camera"},
        {ID_VIEW_FRAME_SCENE, "Centre and zoom so that the cloth and its colliders fill the view\nFrame the Cloth"},
        {ID_VIEW_WIREFRAME, "Draw the cloth as the lines of its grid\nWireframe"},
        {ID_VIEW_NODES, "Show every node of the cloth as a dot\nShow Nodes"},
        {ID_VIEW_PINS, "Show pinned nodes red and held ones yellow\nShow Pins"},
        {ID_VIEW_FLOOR_GRID, "Draw a grid on the floor under the cloth\nFloor Grid"},
        {ID_VIEW_CLOTH_COLOUR, "Choose the colour the cloth is drawn in\nCloth Colour"},
        {ID_EDIT_UNDO, "Take back the last change of the parameters, pins or colliders\nUndo"},
        {ID_EDIT_REDO, "Make the change taken back again\nRedo"},
        {ID_PRESET_SAVE, "Keep the parameters as they are under a name, for this and later sessions\nSave Preset"},
        {ID_SOLVER_EXPLICIT, "Step the cloth exactly; light, stiff or finely spaced cloth blows up\nExplicit Solver"},
        {ID_SOLVER_XPBD, "Step the cloth by XPBD: stable at every setting, at about twice the cost\nXPBD Solver"},
        {kAppTitleString, "Loomwise"},
        {kIdleMessageString, "Ready"},
        {ID_FILE_NEW, "Create a new document\nNew"},
        {ID_FILE_OPEN, "Open an existing document\nOpen"},
        {ID_FILE_CLOSE, "Close the active document\nClose"},
        {ID_FILE_SAVE, "Save the active document\nSave"},
        {ID_FILE_SAVE_AS, "Save the active document with a new name\nSave As"},
        {ID_FILE_EXPORT_IMAGE, "Save the active view as a PNG image\nExport Image"},
        {ID_FILE_PRINT_SETUP, "Change the printer and printing options\nPrint Setup"},
        {ID_FILE_PRINT, "Print the active document\nPrint"},
        {ID_FILE_PRINT_PREVIEW, "Display full pages\nPrint Preview"},
        {ID_WINDOW_NEW, "Open another window for the active document\nNew Window"},
        {ID_WINDOW_ARRANGE, "Arrange icons at the bottom of the window\nArrange Icons"},
        {ID_WINDOW_CASCADE, "Arrange windows so they overlap\nCascade Windows"},
        {ID_WINDOW_TILE_HORZ, "Arrange windows as non-overlapping tiles\nTile Windows"},
        {ID_APP_ABOUT, "Display program information, version number and copyright\nAbout"},
        {ID_APP_EXIT, "Quit the application; prompts to save documents\nExit"},
        {ID_NEXT_PANE, "Switch to the next window pane\nNext Pane"},
        {ID_PREV_PANE, "Switch back to the previous window pane\nPrevious Pane"},
        {ID_INDICATOR_CAPS, "CAP"},
        {ID_INDICATOR_NUM, "NUM"},
        {ID_INDICATOR_SCRL, "SCRL"},
        {ID_VIEW_TOOLBAR, "Show or hide the toolbar\nToggle ToolBar"},
        {ID_VIEW_STATUS_BAR, "Show or hide the status bar\nToggle StatusBar"},
        {ID_VIEW_TIMELINE, "Show or hide the timeline of the frames kept\nToggle Timeline"},
    };
    for (int i = 0; i < 16; ++i) t[ID_FILE_MRU_FILE1 + i] = "Open this document";
    for (int i = 0; i < static_cast<int>(std::size(kMaterialPresets)); ++i)
      t[ID_PRESET_FIRST + i] = "Give the cloth this material's density, stiffness and damping";
    for (int i = 0; i < SavedPresets::kSlots; ++i) t[ID_PRESET_SAVED_FIRST + i] = "Give the cloth the parameters of this saved preset";
    return t;
  }();
  return table;
}

QString string(int id) { return strings().at(id); }

}  // namespace AppResources
