#pragma once
// The start-up check of the record store: the tables live in the `Sys`
// folder of the working folder, so the store can work only when that folder
// exists and can be read and written.

#include <string>

namespace kv::app {

// True when `folder`/Sys is a folder that can be listed and written to.
// Nothing is left behind in it.
bool storeCanWorkInFolder(const std::string &folder);

} // namespace kv::app
