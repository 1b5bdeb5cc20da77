#pragma once

#include <vector>

#include "toolkit/FrameResources.h"

// The shell's resources: the menus for no document (128) and for documents (129), the
// accelerators and toolbar of the main frame (128) and the string table.
namespace AppResources {

constexpr int kRecentFiles = 8;
// New documents are named this and a running number: "Loomwi1".
constexpr char kNewDocumentName[] = "Loomwi";

const MenuResource& mainMenu();
const MenuResource& documentMenu();
const std::vector<Accelerator>& accelerators();
const std::vector<ToolbarButton>& toolbar();
const StringTable& strings();
QString string(int id);

}  // namespace AppResources
