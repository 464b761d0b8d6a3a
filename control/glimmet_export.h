// Export macro of libglimmet.
#pragma once

#include <QtCore/qglobal.h>

#if defined(GLIMMET_STATIC)
#define GLIMMET_EXPORT
#elif defined(GLIMMET_LIBRARY)
#define GLIMMET_EXPORT Q_DECL_EXPORT
#else
#define GLIMMET_EXPORT Q_DECL_IMPORT
#endif
