#pragma once

#include "editing/compressors/compressor_registry.h"
#include "mixer/output/compressor_choice.h"
#include "mixer/project/mix_job.h"
#include "mixer/project/settings_store.h"

#include <QString>

namespace mixer {

// The compressor choices of the containers that remember them by encoder name (every one but
// AVI; editing::ChoiceMemory). Their lists hold only the registry's compressors of that
// container (no "uncompressed" entry), so list index = position, and a choice is remembered by
// encoder name in the container's own keys (its settings group: "Mp4Output",
// "MatroskaOutput" ...; "VideoEncoder" / "AudioEncoder"). An empty or unlisted name stands for
// the container's default (MP4 and Matroska: H.264 and AAC). AVI keeps its numbered choices
// (compressor_choice.h).

// The selections of one container's two lists (kNoListSelection: none).
struct CompressorSelections {
    int video = kNoListSelection;
    int audio = kNoListSelection;

    bool operator==(const CompressorSelections&) const = default;
};

// The keys of a container that remembers encoder names; `container` must not be AVI.
const TextSetting& videoEncoderSetting(editing::OutputContainer container);
const TextSetting& audioEncoderSetting(editing::OutputContainer container);

// The entries the container's lists select for what `store` holds: for AVI the stored numbers'
// entries (see compressorListIndexForStored), for the others the stored names' positions, or the
// defaults' for an empty or unlisted name.
CompressorSelections storedSelections(const editing::CompressorRegistry& registry,
                                      const SettingsStore& store,
                                      editing::OutputContainer container);

// The default entries of the container's lists ("Defaul").
CompressorSelections defaultSelections(const editing::CompressorRegistry& registry,
                                       editing::OutputContainer container);

// What the render is handed for each stream of a `container` (not AVI) output whose lists select
// `selections`: the compressor there, else the default, else none.
struct BoundCompressors {
    CompressorBinding video;
    CompressorBinding audio;
};
BoundCompressors bindSelections(const editing::CompressorRegistry& registry,
                                editing::OutputContainer container,
                                CompressorSelections selections);

// The compressors the profile's choices stand for when the output is a `container` file: AVI
// through its stored numbers, every other container through its stored encoder names.
BoundCompressors bindStoredCompressors(const editing::CompressorRegistry& registry,
                                       const SettingsStore& store,
                                       editing::OutputContainer container);

// The compressors `output` mixes with when nothing names others: the stored choices of its
// output name's container. AVI keeps `output`'s own use flags (its lists hold "uncompressed"
// entries and a project may say so); every other container's flags follow the binding and are
// written back into `output`.
BoundCompressors bindOutputCompressors(const editing::CompressorRegistry& registry,
                                       const SettingsStore& store, OutputSettings& output);

// The encoder name stored for a selection of a `container` list (empty for no selection).
QString videoEncoderNameAt(const editing::CompressorRegistry& registry,
                           editing::OutputContainer container, int selection);
QString audioEncoderNameAt(const editing::CompressorRegistry& registry,
                           editing::OutputContainer container, int selection);

}  // namespace mixer
