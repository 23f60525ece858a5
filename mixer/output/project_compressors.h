#pragma once

#include "editing/compressors/compressor_registry.h"
#include "mixer/output/container_compressors.h"
#include "mixer/project/project_file.h"
#include "mixer/project/settings_store.h"

#include <string>

namespace mixer {

// Project files name their compressors as the output options list them for the output's
// container (by the output name's extension): a compressor's shown name, or for AVI the
// "uncompressed" entry. The choice itself stays where the output options keep it, in the
// profile (see container_compressors.h), so the options show what a project chose.

// What `name` means in the `stream` list of an output named `outputName` (UTF-8).
CompressorNameMeaning compressorNameMeaning(const editing::CompressorRegistry& registry,
                                            CompressorStream stream, const std::string& outputName,
                                            const QString& name);

// The names of the profile's choices for an output named `outputName`: the compressors bound
// for its container, the "uncompressed" entry of an AVI list bound to none; empty where a list
// has neither.
ProjectCompressorNames storedCompressorNames(const editing::CompressorRegistry& registry,
                                             const SettingsStore& store,
                                             const std::string& outputName);

// The compressors `names` stand for in the lists of `outputName`'s container (the
// "uncompressed" entry binds none); a stream without a known name as the profile binds it.
// Writes nothing: for a render that leaves the profile alone.
BoundCompressors bindCompressorNames(const editing::CompressorRegistry& registry,
                                     const SettingsStore& store, const std::string& outputName,
                                     const ProjectCompressorNames& names);

// Makes the non-empty `names` (known in the lists of `outputName`'s container) the profile's
// choices for that container, as OK in the output options would, and returns what is bound now.
BoundCompressors rememberCompressorNames(const editing::CompressorRegistry& registry,
                                         SettingsStore& store, const std::string& outputName,
                                         const ProjectCompressorNames& names);

}  // namespace mixer
