// The builder's cabinet writer: one MSZIP cabinet ("Setup.cab") from a list of files,
// through the file-compression interface of the system's CABINET.DLL, loaded by name.
//
// A cabinet lives from CreateCabinet to CloseCabinet; the file is written at the close.
// The library's work files go to a temporary folder the caller names (the build's own),
// under names made here, and none is left behind, whatever the outcome.
//
// One cabinet at a time, on the calling thread.
#ifndef ZK_BUILDER_CABINET_WRITER_H
#define ZK_BUILDER_CABINET_WRITER_H

#include <string>

// Handle of an open cabinet; nullptr stands for none.
struct CabinetContext;

// Results of AddCabinetFile.
constexpr int kCabinetFileAdded = 1;
constexpr int kCabinetFileEmpty = 0;       // 0 bytes: left out on purpose, not an error
constexpr int kCabinetSourceMissing = -1;  // no such file, or a folder: nothing added
constexpr int kCabinetAddFailed = -2;      // the library refused it; the cabinet is lost

int InitCabinetWriter();

// Creates the folders of path as needed and starts a cabinet there. nullptr when a folder
// cannot be created, the path has no folder part or is too long, or CABINET.DLL (or one of
// its functions) is missing or refuses to start.
CabinetContext* CreateCabinet(const std::string& path, const std::string& tempFolder);

// Adds source under name with MSZIP compression. A read-only source is added and stays
// read-only.
int AddCabinetFile(CabinetContext* cabinet, const std::string& source, const std::string& name);
// The same under the source's file name.
int AddCabinetFileByName(CabinetContext* cabinet, const std::string& source);

// Writes the cabinet file and frees the handle. 1 when the file is complete; 0 when an
// add failed or it could not be written, and then no cabinet file is left at the path.
int CloseCabinet(CabinetContext* cabinet);

#endif
