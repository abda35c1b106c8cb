-- SPDX-License-Identifier: MIT
-- Wireshark dissector for Quellan's device discovery datagrams (UDP 64988).
--
-- Install: copy this file into Wireshark's Lua plugin folder (Help > About >
-- Folders, "Personal Lua Plugins" or "Global Lua Plugins"), or load it once
-- with `wireshark -X lua_script:quellan.lua` / `tshark -X lua_script:...`.
--
-- Every integer is 32 bits and little-endian. The three addresses are the
-- 32-bit little-endian value a<<24|b<<16|c<<8|d, so their bytes arrive as
-- d,c,b,a; the fields show them dotted in the usual order.

local PORT = 64988
local HEADER_SIZE = 24
local BODY_SIZE = 72
local DATAGRAM_SIZE = HEADER_SIZE + BODY_SIZE
-- Receivers only take the model and firmware texts when bodyLength is above
-- this; at or below it they treat both as empty.
local TEXT_THRESHOLD = 40

local REQUEST_MAGIC = 0x87345234
local REPLY_MAGIC = 0x10546823
local CMD_SEARCH = 0x0501
local CMD_CHANGE_IP = 0x0502
local CMD_SEARCH_REPLY = 0x1501

-- What the program's own built-in responder answers with; it is no device.
local TEST_ADDRESS = "127.0.0.1"
local TEST_MODEL = "RESPTEST"

local quellan = Proto("quellan", "Quellan Device Discovery")

local magic_names = {
  [REQUEST_MAGIC] = "Request",
  [REPLY_MAGIC] = "Reply",
}
local command_names = {
  [CMD_SEARCH] = "Search",
  [CMD_CHANGE_IP] = "Change IP",
  [CMD_SEARCH_REPLY] = "Search reply",
}
local ip_mode_names = {
  [0] = "Fixed IP",
  [1] = "DHCP",
  [2] = "PPPoE (ADSL)",
}

local f = {
  magic = ProtoField.uint32("quellan.magic", "Magic", base.HEX, magic_names),
  command = ProtoField.uint32("quellan.command", "Command", base.HEX,
                              command_names),
  param1 = ProtoField.uint32("quellan.param1", "Parameter 1", base.DEC),
  param2 = ProtoField.uint32("quellan.param2", "Parameter 2", base.DEC),
  param3 = ProtoField.uint32("quellan.param3", "Parameter 3", base.DEC),
  body_length = ProtoField.int32("quellan.body_length", "Body length",
                                 base.DEC),
  mac = ProtoField.ether("quellan.mac", "MAC address"),
  reserved1 = ProtoField.bytes("quellan.reserved1", "Reserved 1"),
  ip_mode = ProtoField.int32("quellan.ip_mode", "IP mode", base.DEC,
                             ip_mode_names),
  ip = ProtoField.ipv4("quellan.ip", "IP address"),
  gateway = ProtoField.ipv4("quellan.gateway", "Gateway"),
  mask = ProtoField.ipv4("quellan.mask", "Subnet mask"),
  base_port = ProtoField.int32("quellan.base_port", "Base port", base.DEC),
  http_port = ProtoField.int32("quellan.http_port", "HTTP port", base.DEC),
  reserved2 = ProtoField.bytes("quellan.reserved2", "Reserved 2"),
  model = ProtoField.string("quellan.model", "Model"),
  firmware = ProtoField.string("quellan.firmware", "Firmware"),
}
quellan.fields = {
  f.magic, f.command, f.param1, f.param2, f.param3, f.body_length, f.mac,
  f.reserved1, f.ip_mode, f.ip, f.gateway, f.mask, f.base_port, f.http_port,
  f.reserved2, f.model, f.firmware,
}

local e = {
  short = ProtoExpert.new("quellan.short", "Datagram too short",
                          expert.group.MALFORMED, expert.severity.ERROR),
  unknown_magic = ProtoExpert.new("quellan.unknown_magic", "Unknown magic",
                                  expert.group.PROTOCOL, expert.severity.WARN),
  unknown_command = ProtoExpert.new("quellan.unknown_command",
                                    "Unknown command",
                                    expert.group.PROTOCOL,
                                    expert.severity.WARN),
  texts_ignored = ProtoExpert.new("quellan.texts_ignored",
                                  "Body length too small for the texts",
                                  expert.group.PROTOCOL, expert.severity.WARN),
}
quellan.experts = {e.short, e.unknown_magic, e.unknown_command,
                   e.texts_ignored}

-- The body fields in wire order: offset within the body, width, field, and
-- whether the value is little-endian.
local body_layout = {
  {0, 6, f.mac},
  {6, 2, f.reserved1},
  {8, 4, f.ip_mode, true},
  {12, 4, f.ip, true},
  {16, 4, f.gateway, true},
  {20, 4, f.mask, true},
  {24, 4, f.base_port, true},
  {28, 4, f.http_port, true},
  {32, 8, f.reserved2},
}

-- A text area: 8-bit characters up to the first zero byte, never beyond the
-- area, so a full 16-character text does not run on into the next field.
-- Each byte is one character (Latin-1), turned into UTF-8 here because
-- TvbRange:string(ENC_ISO_8859_1) cuts its result to the byte count of the
-- range and so loses the last characters of a text with high bytes.
local function area_text(range)
  local raw = range:bytes()
  local chars = {}
  for i = 0, raw:len() - 1 do
    local b = raw:get_index(i)
    if b == 0 then break end
    if b < 0x80 then
      chars[#chars + 1] = string.char(b)
    else
      chars[#chars + 1] = string.char(0xC0 + math.floor(b / 64), 0x80 + b % 64)
    end
  end
  return table.concat(chars)
end

-- Dotted text of an address stored as the little-endian value a.b.c.d.
local function address_text(range)
  local v = range:le_uint()
  return string.format("%d.%d.%d.%d", math.floor(v / 0x1000000) % 256,
                       math.floor(v / 0x10000) % 256,
                       math.floor(v / 0x100) % 256, v % 256)
end

local function mac_text(range)
  local parts = {}
  for i = 0, 5 do parts[#parts + 1] = string.format("%02X", range:range(i, 1):uint()) end
  return table.concat(parts, ":")
end

-- Adds the body fields that the datagram holds; returns what the Info column
-- needs (nil where the datagram ends too early).
local function dissect_body(tvb, tree)
  local have = tvb:len() - HEADER_SIZE
  local body = tree:add(quellan, tvb(HEADER_SIZE, math.min(have, BODY_SIZE)),
                        "Device info")
  local seen = {}
  for _, item in ipairs(body_layout) do
    local offset, width, field, le = item[1], item[2], item[3], item[4]
    if offset + width > have then break end
    local range = tvb(HEADER_SIZE + offset, width)
    if le then body:add_le(field, range) else body:add(field, range) end
  end
  if have >= 6 then seen.mac = mac_text(tvb(HEADER_SIZE, 6)) end
  if have >= 16 then seen.ip = address_text(tvb(HEADER_SIZE + 12, 4)) end
  for _, text in ipairs({{40, f.model, "model"}, {56, f.firmware, "firmware"}}) do
    local offset, field, key = text[1], text[2], text[3]
    if offset + 16 <= have then
      local range = tvb(HEADER_SIZE + offset, 16)
      seen[key] = area_text(range)
      body:add(field, range, seen[key])
    end
  end
  return seen
end

function quellan.dissector(tvb, pinfo, tree)
  local length = tvb:len()
  if length == 0 then return 0 end
  pinfo.cols.protocol = "QUELLAN"
  local root = tree:add(quellan, tvb())

  if length < HEADER_SIZE then
    root:add_proto_expert_info(e.short, string.format(
      "Datagram too short: %d bytes, the header alone needs %d", length,
      HEADER_SIZE))
    pinfo.cols.info = string.format("Short datagram (%d bytes)", length)
    -- Show whatever header words are complete.
    local words = {f.magic, f.command, f.param1, f.param2, f.param3}
    for i, field in ipairs(words) do
      if i * 4 > length then break end
      root:add_le(field, tvb((i - 1) * 4, 4))
    end
    return length
  end

  local magic = tvb(0, 4):le_uint()
  local command = tvb(4, 4):le_uint()
  local body_length = tvb(20, 4):le_int()
  local header = root:add(quellan, tvb(0, HEADER_SIZE), "Header")
  local magic_item = header:add_le(f.magic, tvb(0, 4))
  local command_item = header:add_le(f.command, tvb(4, 4))
  header:add_le(f.param1, tvb(8, 4))
  header:add_le(f.param2, tvb(12, 4))
  header:add_le(f.param3, tvb(16, 4))
  local length_item = header:add_le(f.body_length, tvb(20, 4))

  local kind
  if magic == REQUEST_MAGIC then
    if command == CMD_SEARCH then kind = "search"
    elseif command == CMD_CHANGE_IP then kind = "change" end
  elseif magic == REPLY_MAGIC then
    if command == CMD_SEARCH_REPLY then kind = "reply" end
  else
    magic_item:add_proto_expert_info(e.unknown_magic, string.format(
      "Unknown magic 0x%08X", magic))
    pinfo.cols.info = string.format("Unknown magic 0x%08X", magic)
  end
  if kind == nil and (magic == REQUEST_MAGIC or magic == REPLY_MAGIC) then
    command_item:add_proto_expert_info(e.unknown_command, string.format(
      "Unknown command 0x%08X for a %s", command,
      magic == REQUEST_MAGIC and "request" or "reply"))
    pinfo.cols.info = string.format("Unknown command 0x%08X", command)
  end

  -- Replies and change requests are 96 bytes; the body is shown as far as
  -- it goes, whatever the kind and whatever bodyLength says (a change
  -- request sends bodyLength 0 with a full body).
  local seen = {}
  if length > HEADER_SIZE then seen = dissect_body(tvb, root) end
  if (kind == "reply" or kind == "change") and length < DATAGRAM_SIZE then
    root:add_proto_expert_info(e.short, string.format(
      "Datagram too short: %d bytes, a %s carries %d", length,
      kind == "reply" and "search reply" or "change request", DATAGRAM_SIZE))
  end

  if kind == "search" then
    pinfo.cols.info = "Search request"
  elseif kind == "change" then
    pinfo.cols.info = string.format("IP change request %s \226\134\146 %s",
                                    seen.mac or "?", seen.ip or "?")
  elseif kind == "reply" then
    if body_length <= TEXT_THRESHOLD then
      length_item:add_proto_expert_info(e.texts_ignored, string.format(
        "Body length %d is %d or less: receivers ignore the model and firmware",
        body_length, TEXT_THRESHOLD))
    end
    if seen.ip == TEST_ADDRESS and seen.model == TEST_MODEL then
      pinfo.cols.info = "Test reply"
    else
      local info = "Search reply"
      for _, part in ipairs({seen.mac, seen.ip}) do info = info .. " " .. part end
      -- The model in the Info column is the one receivers show.
      if body_length > TEXT_THRESHOLD and seen.model and seen.model ~= "" then
        info = info .. " " .. seen.model
      end
      pinfo.cols.info = info
    end
    if length < DATAGRAM_SIZE then
      pinfo.cols.info:append(string.format(" [short: %d bytes]", length))
    end
  end
  return length
end

-- A port registration, not a heuristic one, so that no heuristic dissector
-- claims these datagrams first. It also lists the protocol under "Decode
-- As..." for UDP ports, for devices heard on another port.
DissectorTable.get("udp.port"):add(PORT, quellan)
