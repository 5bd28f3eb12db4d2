// The database's error numbers and texts, and the process-wide last error.
#pragma once

#include <new>
#include <stdexcept>
#include <string_view>

namespace tsn {

enum DbError : int {
  kDbOk = 0,
  kErrNotInitialised = 1,
  kErrInitMissing = 2,
  kErrInitMalformed = 3,
  kErrNoDrawing = 4,
  kErrGeneration = 5,
  kErrNoLayer = 10,
  kErrUnknownType = 11,
  kErrNoList = 12,
  kErrListNotOpen = 13,
  kErrNoDataList = 14,
  kErrHandleInUse = 15,
  kErrBadHandle = 16,
  kErrNoStyle = 17,
  kErrNoBlock = 18,
  kErrDuplicateName = 19,
  kErrBadName = 20,
  kErrXdataCode = 21,
  kErrXdataApp = 22,
  kErrNoPolyline = 23,
  kErrBadVertexList = 24,
  kErrNoEntity = 25,
  kErrBadLinetype = 26,
  kErrDwg = 27,
  kErrRelease = 28,
  kErrWrite = 29,
  kErrLayoutBlock = 30,
  kErrHatchPath = 31,
  kErrNoStyleRecord = 32,
  kErrNotText = 33,
  kErrBadArgument = 34,
  kErrNoMemory = 35,
  kErrBadBulges = 36,
  kErrTooLarge = 37,
};

inline constexpr int kDbLastErrorNumber = 307;

// Records the error as the last one and returns 0, the failure result of every operation.
int db_fail(int error);
void db_clear_error();

// Runs an operation that allocates; running out of memory fails it with kErrNoMemory rather
// than letting the exception leave the database.
template <typename Fn>
int db_guarded(Fn&& fn) {
  try {
    return fn();
  } catch (const std::bad_alloc&) {
    return db_fail(kErrNoMemory);
  } catch (const std::length_error&) {
    return db_fail(kErrNoMemory);
  }
}

}  // namespace tsn
