/* Numeric ids of the executable's resources, shared by the C++ code and
   resources.rc.  Kept to plain #defines because the resource compiler
   only understands the preprocessor. */
#ifndef YANCHUAN_UI_RESOURCE_IDS_H
#define YANCHUAN_UI_RESOURCE_IDS_H

/* The cover picture, a baseline JPEG stored as RCDATA. */
#define IDR_COVER_JPEG 200

#endif
