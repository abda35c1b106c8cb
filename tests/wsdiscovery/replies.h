// ProbeMatches shaped as devices of different makers write them: each with
// its own prefixes and its own places for the namespace declarations.
#pragma once

// SOAP-ENV/wsa/wsdd, everything declared on the envelope but one type's
// prefix, declared on the Types element; a link-local XAddr first.
constexpr const char* REPLY_SOAP_ENV = R"(<?xml version="1.0" encoding="UTF-8"?>
<SOAP-ENV:Envelope xmlns:SOAP-ENV="http://www.w3.org/2003/05/soap-envelope" xmlns:SOAP-ENC="http://www.w3.org/2003/05/soap-encoding" xmlns:wsa="http://schemas.xmlsoap.org/ws/2004/08/addressing" xmlns:wsdd="http://schemas.xmlsoap.org/ws/2005/04/discovery" xmlns:tdn="http://www.onvif.org/ver10/network/wsdl">
<SOAP-ENV:Header>
<wsa:MessageID>uuid:2419d68a-2dd2-21b2-a205-001a2b000150</wsa:MessageID>
<wsa:RelatesTo>urn:uuid:7c5a3e0e-1f2d-4b1a-9c3e-5d6f7a8b9c0d</wsa:RelatesTo>
<wsa:To SOAP-ENV:mustUnderstand="true">http://schemas.xmlsoap.org/ws/2004/08/addressing/role/anonymous</wsa:To>
<wsa:Action SOAP-ENV:mustUnderstand="true">http://schemas.xmlsoap.org/ws/2005/04/discovery/ProbeMatches</wsa:Action>
<wsdd:AppSequence InstanceId="3" MessageNumber="7"></wsdd:AppSequence>
</SOAP-ENV:Header>
<SOAP-ENV:Body>
<wsdd:ProbeMatches>
<wsdd:ProbeMatch>
<wsa:EndpointReference><wsa:Address>urn:uuid:2419d68a-2dd2-21b2-a205-001a2b000150</wsa:Address></wsa:EndpointReference>
<wsdd:Types xmlns:tds="http://www.onvif.org/ver10/device/wsdl">tdn:NetworkVideoTransmitter tds:Device</wsdd:Types>
<wsdd:Scopes>onvif://www.onvif.org/type/video_encoder onvif://www.onvif.org/Profile/Streaming onvif://www.onvif.org/name/Front%20Door%20Cam onvif://www.onvif.org/hardware/IPC-B520 onvif://www.onvif.org/location/country/Deutschland%20S%C3%BCd onvif://www.onvif.org/MAC/00:1A:2B:00:01:50</wsdd:Scopes>
<wsdd:XAddrs>http://169.254.12.7/onvif/device_service http://10.77.0.50/onvif/device_service</wsdd:XAddrs>
<wsdd:MetadataVersion>10</wsdd:MetadataVersion>
</wsdd:ProbeMatch>
</wsdd:ProbeMatches>
</SOAP-ENV:Body>
</SOAP-ENV:Envelope>
)";

// s/a/d, with the discovery namespace as the default one on ProbeMatches
// (unprefixed elements) and the type's prefix declared on the match; the
// MAC in lower case without separators, the XAddr with a port.
constexpr const char* REPLY_S = R"(<?xml version="1.0" encoding="utf-8"?>
<s:Envelope xmlns:s="http://www.w3.org/2003/05/soap-envelope" xmlns:a="http://schemas.xmlsoap.org/ws/2004/08/addressing"><s:Header><a:Action>http://schemas.xmlsoap.org/ws/2005/04/discovery/ProbeMatches</a:Action><a:RelatesTo>urn:uuid:0b1c2d3e-4f50-4617-8293-a4b5c6d7e8f9</a:RelatesTo></s:Header><s:Body><ProbeMatches xmlns="http://schemas.xmlsoap.org/ws/2005/04/discovery"><ProbeMatch xmlns:dn="http://www.onvif.org/ver10/network/wsdl"><a:EndpointReference><a:Address>urn:uuid:d1e2f3a4-b5c6-4d7e-8f90-a1b2c3d4e5f6</a:Address></a:EndpointReference><Types>dn:NetworkVideoTransmitter</Types><Scopes>
  onvif://www.onvif.org/name/Gate_2
  onvif://www.onvif.org/hardware/NVR%2D16
  onvif://www.onvif.org/mac/001a2b0001aa
</Scopes><XAddrs>http://10.78.0.9:8080/onvif/device_service</XAddrs><MetadataVersion> 1 </MetadataVersion></ProbeMatch></ProbeMatches></s:Body></s:Envelope>)";

// env/wsadis/wsd, each prefix declared where it is first used, and a
// prefix of the envelope bound to another namespace inside the match; no
// MAC scope, no MetadataVersion, two routable XAddrs.
constexpr const char* REPLY_ENV =
    R"(<env:Envelope xmlns:env="http://www.w3.org/2003/05/soap-envelope">
<env:Header xmlns:wsadis="http://schemas.xmlsoap.org/ws/2004/08/addressing"><wsadis:RelatesTo>urn:uuid:11111111-2222-4333-8444-555555555555</wsadis:RelatesTo></env:Header>
<env:Body xmlns:wsd="http://schemas.xmlsoap.org/ws/2005/04/discovery" xmlns:x="urn:other">
<wsd:ProbeMatches><wsd:ProbeMatch xmlns:x="http://www.onvif.org/ver10/device/wsdl">
<wsadis:EndpointReference xmlns:wsadis="http://schemas.xmlsoap.org/ws/2004/08/addressing"><wsadis:Address>urn:uuid:99999999-8888-4777-a666-555555555555</wsadis:Address></wsadis:EndpointReference>
<wsd:Types>x:Device</wsd:Types>
<wsd:Scopes>onvif://www.onvif.org/location/Lobby onvif://www.onvif.org/name/Lobby%2FEast</wsd:Scopes>
<wsd:XAddrs>http://192.168.5.20/onvif/device_service http://10.77.0.60/onvif/device_service</wsd:XAddrs>
</wsd:ProbeMatch></wsd:ProbeMatches></env:Body></env:Envelope>)";
