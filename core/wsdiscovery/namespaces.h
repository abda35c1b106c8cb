// The namespaces of WS-Discovery 2005/04 as ONVIF devices speak it.
#pragma once

constexpr const char* SOAP_NAMESPACE =
    "http://www.w3.org/2003/05/soap-envelope";
constexpr const char* ADDRESSING_NAMESPACE =
    "http://schemas.xmlsoap.org/ws/2004/08/addressing";
constexpr const char* DISCOVERY_NAMESPACE =
    "http://schemas.xmlsoap.org/ws/2005/04/discovery";
// Later versions that ONVIF devices do not speak; their replies are told
// apart from other noise, so that the user hears why they were not read.
constexpr const char* DISCOVERY_2009_NAMESPACE =
    "http://docs.oasis-open.org/ws-dd/ns/discovery/2009/01";
constexpr const char* ADDRESSING_2005_NAMESPACE =
    "http://www.w3.org/2005/08/addressing";
constexpr const char* ONVIF_NETWORK_NAMESPACE =
    "http://www.onvif.org/ver10/network/wsdl";
constexpr const char* ONVIF_DEVICE_NAMESPACE =
    "http://www.onvif.org/ver10/device/wsdl";

constexpr const char* DISCOVERY_TO =
    "urn:schemas-xmlsoap-org:ws:2005:04:discovery";
constexpr const char* PROBE_ACTION =
    "http://schemas.xmlsoap.org/ws/2005/04/discovery/Probe";
constexpr const char* PROBE_MATCHES_ACTION =
    "http://schemas.xmlsoap.org/ws/2005/04/discovery/ProbeMatches";
