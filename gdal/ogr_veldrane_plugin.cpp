// The two symbols GDAL looks up when it loads ogr_Veldrane.so from its plugin
// folder or GDAL_DRIVER_PATH; everything else in the plugin is hidden.
#include <gdal.h>

#include "gdal/ogr_veldrane.h"

extern "C" {

__attribute__((visibility("default"))) void GDALRegister_Veldrane() {
  if (!GDAL_CHECK_VERSION("OGR Veldrane")) return;
  RegisterOGRVeldrane();
}

__attribute__((visibility("default"))) void GDALRegisterMe() { GDALRegister_Veldrane(); }

}  // extern "C"
