#pragma once

// Result codes of the host's interactive functions (ads_*). Only RTNORM means
// that the user gave an answer.
constexpr int RTNORM = 5100;    // normal completion: an answer was given
constexpr int RTNONE = 5000;    // empty answer (Enter on an empty line)
constexpr int RTERROR = -5001;  // the function failed
constexpr int RTCAN = -5002;    // cancelled by the user (Esc, *cancel*, end of script)
constexpr int RTREJ = -5003;    // request rejected as invalid (bad argument)

// Type codes of the values in a resbuf.
constexpr short RTSHORT = 5003;  // resval.rint

// Status of the host's database functions.
namespace Acad {
enum ErrorStatus : int {
  eOk = 0,
  eNotImplemented = 1,
  eInvalidInput = 3,
  eNotApplicable = 5,
  eNullObjectId = 10,
  eWasErased = 19,
  eKeyNotFound = 22,
  eInvalidOpenState = 31,
  eUnknownHandle = 48,
  eOutOfMemory = 63,
};
}  // namespace Acad
