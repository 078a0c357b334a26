// SPDX-FileCopyrightText: 2026 The VelkorOndrix developers
// SPDX-License-Identifier: MIT
// One key of one layer: what it sends and how that travels, both as the word
// array the program exchanges with the facade and as a key record on the wire.
#pragma once

#include <initializer_list>
#include <memory>
#include <vector>

#include <velkorondrix/VelkorOndrix_HWI.h>

class VELKORONDRIX_HWI_INTERNAL CKeyDefine {
public:
    enum Type { Normal = 0, Continuous = 1, Macro = 2 };
    static constexpr unsigned char kRecordCode = 0xF0;

    CKeyDefine(int key, int layer, int type) : key(key), layer(layer), type(type) {}
    virtual ~CKeyDefine() = default;

    // With a null buffer: stores the encoded size for packetSize in
    // *totalSize, the header size in *headerSize, and returns false. With a
    // zeroed buffer of that size: writes the record; false when the record
    // carries no codes (it then travels as the slot's empty record).
    virtual bool encode(unsigned char* buffer, int packetSize, int* totalSize, int* headerSize) = 0;
    // Replaces the content with what the record in bytes[0..totalSize) holds.
    virtual bool decode(const unsigned char* bytes, int packetSize, int totalSize) = 0;

    // Fills the content from the word form; count bounds what is read.
    virtual void fromWords(const int* words, int count) = 0;
    // Writes the word form; the number of words needed, or -1 when that
    // exceeds capacity (nothing is written then).
    virtual int toWords(int* words, int capacity) const = 0;
    // The codes the definition sends or plays.
    virtual int codeCount() const = 0;

    // A new empty definition of the given type; null for an unknown type.
    static std::unique_ptr<CKeyDefine> create(int type, int key, int layer);
    // The record of an empty slot: a normal key with no codes.
    static void writeEmptyRecord(unsigned char* packet, int packetSize, int layer, int key);
    // Packets of 64 bytes the record that starts with this packet spans:
    // more than one only for a macro whose payload outgrows the first.
    static int recordPackets(const unsigned char* first);
    // Every packet of a record repeats the first one's header (command,
    // layer, key, type, cycles, delay flag, payload length), so a packet
    // that does not belongs to no record begun before it.
    static bool continuesRecord(const unsigned char* first, const unsigned char* next);

    int key;    // 1..108
    int layer;  // 1 or 2, wire numbering
    int type;

protected:
    // 0x00, 0xF0, layer, key, type.
    void writeHeader(unsigned char* packet) const;
    // The size rule of a record that always fills one packet. With a null
    // buffer it answers the size query and returns false; otherwise true when
    // the buffer can take the record and the header leaves room for codes.
    static bool startOnePacketRecord(const unsigned char* buffer, int packetSize, int* totalSize, int* headerSize,
                                     int header);

    // Shared by the code-list records: the codes as bytes, at most room of
    // them; returns how many were written.
    static int putCodes(unsigned char* to, const std::vector<int>& codes, int room);
    // The claimed number of code bytes, as far as available bytes reach.
    static std::vector<int> takeCodes(const unsigned char* from, int claimed, int available);
    // The codes after the count word words[countAt], never past wordCount.
    static std::vector<int> wordCodes(const int* words, int wordCount, int countAt);
    // Writes head then the codes; the words needed, or -1 beyond capacity.
    static int putWords(int* words, int capacity, std::initializer_list<int> head, const std::vector<int>& codes);
};
