// The namespaces of WS-Discovery 2005/04 as ONVIF devices speak it.
#pragma once

constexpr const char* SOAP_NAMESPACE =
    "http://www.w3.org/2003/05/soap-envelope";
constexpr const char* ADDRESSING_NAMESPACE =
    "http://schemas.xmlsoap.org/ws/2004/08/addressing";
constexpr const char* DISCOVERY_NAMESPACE =
    "http://schemas.xmlsoap.org/ws/2005/04/discovery";
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
