#pragma once
// The OpenGL entry points the hardware device uses: the 3.3 core set, resolved by Qt for the
// device's context. Everything that takes them expects that context to be current.

#include <QOpenGLFunctions_3_3_Core>

using TGLFunctions = QOpenGLFunctions_3_3_Core;
