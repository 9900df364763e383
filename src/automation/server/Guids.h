#pragma once

#include <windows.h>

// The identities the served Office answers to.
namespace tessaline::automation::server {

// Office's own: the event interface of CommandBarButton.
inline constexpr GUID DIID_CommandBarButtonEvents = {
    0x000C0351, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};

// The type library describing that interface, so COM can carry its calls to a client's sink. Its GUID is
// our own: registering Office's library GUID would point an installed Office's registration at this
// server's file.
inline constexpr GUID LIBID_ServedOffice = {
    0x5c1f3a27, 0x8e44, 0x4b6d, {0x9a, 0x1e, 0x62, 0xd3, 0x0f, 0x7b, 0x21, 0xc4}};

// The control channel ("Tessaline.Office").
inline constexpr GUID CLSID_TessalineOffice = {
    0x3b8e6d52, 0x1f07, 0x4c9a, {0xb4, 0x65, 0x0d, 0x2e, 0x9c, 0x71, 0x58, 0xa3}};

// Recognises this server's own objects when a client hands them back as arguments; never marshalled.
inline constexpr GUID IID_ServedObject = {0x9d41c0e8, 0x6a2b, 0x47f3, {0x8c, 0x5d, 0x31, 0xe9, 0xa4, 0x02, 0x7b, 0x6f}};

}  // namespace tessaline::automation::server
