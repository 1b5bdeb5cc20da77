#pragma once

#include <QOpenGLWidget>
#include <cstdint>

#include "cloth/Vec3.h"
#include "toolkit/View.h"
#include "view/ColliderDrawing.h"
#include "view/DisplayOptions.h"
#include "view/DragHandle.h"
#include "view/PickRecord.h"

class ClothDocument;
class NodeBuffer;
class NodePicker;
class Simulation;

// The document's OpenGL view: renders the cloth with its pins and the axes, turns and zooms its
// camera under the mouse, lets a left drag grab a node of the cloth or move the invisible scene
// handle, and starts and stops the document's run timer for the Run command.
class CLoomwiseView : public QOpenGLWidget, public View {
  Q_OBJECT
public:
  enum MouseMode { ModeZoom = 1, ModeRotate = 2, ModeDrag = 16, ModeGrab = 32 };
  // The mouse-message key flags the handlers take.
  enum KeyFlag { KeyLeftButton = 1, KeyRightButton = 2, KeyShift = 4, KeyControl = 8, KeyMiddleButton = 16 };
  // How far from a node, in pixels, a press still takes it.
  static constexpr double kGrabRadius = 6.0;

  CLoomwiseView();

  // The pixel format every view asks for; must be called before the QApplication exists.
  static void requestPixelFormat();

  QWidget& widget() override { return *this; }
  QSize sizeHint() const override;

  // Run starts or stops the document's simulation, for every view of it.
  void OnRun();
  void OnUpdateRun(CommandUi& ui);
  void startTimer();
  void stopTimer();
  // The document's run timer, 0 while its simulation is stopped.
  unsigned timerId() const;
  // The camera looking at the scene from the front (along −z, as a new view does), from the right
  // side (along −x) or from the top (along −y), at the same zoom and centre.
  enum class Angle { Front, Side, Top };
  void lookFrom(Angle angle);
  // The front view at the first zoom, centred on the origin.
  void resetCamera();
  // Centres and zooms so that the cloth and the colliders but planes fill the view.
  void frameScene();
  // The document's cloth moved: repaint with the next frame, never once per step.
  void OnUpdate() override;
  QImage printedPicture() override;
  // The view as it stands drawn offscreen at `size` pixels, opaque, showing at least what the
  // view shows; a null image when the framebuffer cannot be made (too large, say).
  QImage renderedImage(QSize size);

  // Points are in client pixels, y downwards.
  void OnLButtonDown(int flags, QPoint point);
  void OnRButtonDown(int flags, QPoint point);
  void OnButtonUp(int flags, QPoint point);
  void OnMouseMove(int flags, QPoint point);
  // The scene object under the point, found by a selection-mode pass, or none.
  SceneObject* pickAt(int x, int y);
  // The node of the live cloth within kGrabRadius of the point, or −1 (always while the document
  // shows an earlier frame).
  int nodeAt(QPoint point) const;

  void setUpGLState();
  void renderScene();
  static void setProjection(int w, int h, double s, double near, double far);

  int mouseMode = ModeRotate;
  int lastMouseX = 0, lastMouseY = 0;  // client pixels, y downwards
  static constexpr double kFirstViewScale = 0.01;
  double viewScale = kFirstViewScale;  // half-extent of the view per pixel of client size, world units
  double cameraMatrix[16];   // the camera's model-view matrix, OpenGL column-major
  SceneObject* dragTarget = nullptr;  // picked by the last left press; not owned
  PickRecord pickRecord;     // what this view's picking found
  DragHandle handle;         // the one pickable object, at the origin until dragged
  ColliderDrawing colliderDrawing;  // the colliders' triangles, kept between paints
  DisplayOptions display = DisplayOptions::remembered();
  int grabbedNode = -1;      // the node a left press holds, −1 when none

protected:
  void initializeGL() override;
  void resizeGL(int w, int h) override;
  void paintGL() override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;

private:
  ClothDocument* clothDocument() const;
  NodePicker picker() const;
  void rotationStep(QPoint point);
  void zoomStep(QPoint point);
  void dragStep(QPoint point);
  // A left press on a node: Ctrl pins or unpins it, otherwise it is held until the release.
  bool grabAt(int flags, QPoint point);
  void grabStep(QPoint point);
  void releaseGrab();
  // At `positions`: the live cloth's or the frame shown.
  void drawPins(const Simulation& simulation, const NodeBuffer& positions) const;
  void drawNodes(const NodeBuffer& positions, int count) const;
  // The sheet at `drawn`: its live positions, or those the document shows in their place.
  void drawCloth(const Simulation& simulation, const NodeBuffer* drawn) const;
  // A display option switched from the View menu, kept for the views to come.
  void toggleDisplay(bool DisplayOptions::*option);
  void chooseClothColour();
  void setCamera(const double rotation[9], const double translation[3]);
  void applyZoom();
  // Pushes the model-view matrix and loads the camera into it.
  void pushCamera();

  // The stand-in for the mouse capture: set by a left or right press, cleared by either release.
  // Qt's implicit grab delivers the moves while a button is down; only captured ones count.
  bool holdsCapture = false;

  // The grabbed node moves in the plane facing the camera at this eye depth.
  double grabDepth = 0.0;
  // Where the grabbed node was at an earlier step, for the velocity it is let go with.
  Vec3 grabTrail;
  std::int64_t grabTrailStep = 0;
  Vec3 grabPoint;
  std::int64_t grabPointStep = 0;
};
