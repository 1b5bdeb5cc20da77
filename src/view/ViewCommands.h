#pragma once

// The toolbar's Run command: starts and stops the view's simulation timer.
constexpr int ID_RUN = 32772;
