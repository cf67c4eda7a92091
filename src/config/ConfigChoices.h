#pragma once

#include <cstdint>
#include <string_view>

#include "script/CatalogueKeys.h"

namespace setup {

// What the configuration pages offer and accept. An unattended run's answer file is held to
// the same, so that it can write nothing the dialogs could not.

inline constexpr std::uint32_t kInterrupts[] = {3, 5, 11, 12, 15};
inline constexpr std::uint32_t kBaseAddresses[] = {0x250, 0x270, 0x290, 0x2B0,
                                                   0x2D0, 0x2F0, 0x350, 0x370};

// The drop-down lists whose entry i is the catalogue text of slot i and stands for i.
inline constexpr int kStartSlots[] = {text::TYPE_START_BOOT, text::TYPE_START_SYSTEM,
                                      text::TYPE_START_AUTO, text::TYPE_START_DEMAND,
                                      text::TYPE_START_DISABLED};
inline constexpr int kTestSlots[] = {text::TYPE_TEST_ADAPTER, text::TYPE_TEST_ADAPTER_S0};
inline constexpr int kDataIoSlots[] = {text::TYPE_DATAIO_DIRECT, text::TYPE_DATAIO_BUFFERED};
inline constexpr int kDeliverySlots[] = {text::TYPE_DLC_AUTO, text::TYPE_DLC_ON,
                                         text::TYPE_DLC_OFF};
inline constexpr int kX31Slots[] = {text::TYPE_LAYER_DIRECT, text::TYPE_LAYER_VIRTUAL,
                                    text::TYPE_LAYER_ACTIVE};

// The numbered lists: 0 to one less than these.
inline constexpr std::uint32_t kCipValues = 32;
inline constexpr std::uint32_t kDosVectors = 256;

inline constexpr int kSpidCharacters = 15;
// The integrity backup separates its fields with ";".
inline constexpr std::string_view kSpidRefused = ";";
inline constexpr int kUserTextCharacters = 78;
// The number or the subaddress of a calling party.
inline constexpr int kPartCharacters = 19;
// Comma and tab separate number and subaddress, so neither may be typed into a part.
inline constexpr std::string_view kSeparators = ",\t";
inline constexpr int kMaxCallingNumbers = 8;

}  // namespace setup
