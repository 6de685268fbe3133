; The demo cartridge's room viewer: shows the rooms of the image it is part of
; as the editor's level view shows them, at the console's own size.
;
; Everything is read from the cartridge at run time, by the editor's rules:
; the zone headers and room tables through the pointer rule (a 16-bit pointer
; is an address in a 32 KB window that starts at the bank holding its table),
; the 48 metatile numbers of a room, each metatile's 16 tile numbers and its
; attribute byte, the zone's 4 KB tile bank (copied into the pattern table,
; CHR-RAM) and the zone's palettes (palette 3 from the first zone's table,
; colour 0 always $0F). So whatever the editor changes shows here.
;
; Screen: the room fills tile rows 4-27 (pixels y = 32 to 223), all 32
; columns, the leftmost 8 pixels shown, no sprites; one metatile is one
; 32 x 32 attribute area, so its attribute byte is the attribute-table byte.
; The rows above and below show a tile the room does not use, cleared to
; colour 0, so that they are colour $0F. (A room that uses all 256 tile
; numbers there shows the zone's first tile with no pattern, if it has one.)
;
; A step reads the new room while the old one stays on screen, then writes
; the screen with rendering off (the tile bank only when the zone changed)
; and the palettes in vertical blank: the new room shows within 10 frames.
;
; Controller: Right / Left the next / previous room (room 0 after the zone's
; last room, and back), Down / Up the next / previous zone at its room 0
; (Zone 1 after Zone 7, and back). One step per press.
;
; Mapper 2 (UxROM): banks of 16 KB at $8000, the last bank fixed at $C000.
; This code lives in bank 0, which the window holds at power-up; the last
; bank is all tile data except the six vector bytes. Reading another bank
; therefore runs from RAM (RamChunk), and bank numbers are written to ROM
; bytes that hold the same value (bus conflicts): BankTable in bank 0 to
; leave bank 0, and the NMI vector's low byte ($FFFA, $00) to come back.

.export zone_facts, viewer_reset, viewer_nmi, viewer_irq
.import __RAMCODE_LOAD__, __RAMCODE_RUN__, __RAMCODE_SIZE__

PPUCTRL   = $2000
PPUMASK   = $2001
PPUSTATUS = $2002
PPUSCROLL = $2005
PPUADDR   = $2006
PPUDATA   = $2007
DMCFREQ   = $4010
JOY1      = $4016
APUFRAME  = $4017

CTRL_NMI      = $80       ; NMI on, background tiles at $0000, name table $2000
MASK_SHOW     = $0E       ; background on, leftmost 8 pixels shown, no sprites
MASK_HIDE     = $06       ; rendering off: the whole screen is the backdrop
ZERO_IN_FIXED = $FFFA     ; holds $00: the low byte of the NMI vector
BACKDROP      = $0F

ZONES          = 7
BANK_MASK      = $0F      ; sixteen 16 KB banks
HEADER_ATTRS   = 0        ; zone header entries
HEADER_TILES   = 1
HEADER_ROOMS   = 3
SHARED_PALETTE = 3
ROOM_CELLS     = 48

.segment "ZEROPAGE"
frame:      .res 1        ; counted by every NMI
pad:        .res 1        ; buttons held at the last NMI
padPrev:    .res 1
pressed:    .res 1        ; buttons pressed since the main loop last looked
                          ; (read A first: bit 7 A ... bit 0 Right)
zone:       .res 1        ; 0..6
room:       .res 1
loadedZone: .res 1        ; zone whose tile bank is in the pattern table
blank:      .res 1        ; tile shown around the room, cleared to colour 0
oldBlank:   .res 1
foff:       .res 3        ; file offset (24 bits) for FileCopy
len:        .res 2
dst:        .res 2
mode:       .res 1        ; bit 7 set: FileCopy writes to PPUDATA
bank:       .res 1        ; for RamChunk
src:        .res 2
cnt:        .res 1        ; 1..255, 0 = 256
table:      .res 3        ; file offset of a pointer table
ptr:        .res 2
tmp:        .res 2
attrs:      .res 3        ; the zone's metatile attribute table
mtiles:     .res 3        ; the zone's metatile tile table
cell:       .res 1
count:      .res 1
pal:        .res 1
rowptr:     .res 2

.segment "BSS"
tileBuf:    .res 16 * ROOM_CELLS   ; page aligned: tile numbers of each cell
attrBuf:    .res ROOM_CELLS
layout:     .res ROOM_CELLS
palBuf:     .res 16
used:       .res 256               ; not 0: the room uses that tile number
tileTmp:    .res 16
.assert <tileBuf = 0, lderror, "tileBuf must start a page"

; ---------------------------------------------------------------------------
.segment "CODE"

viewer_reset:
    sei
    cld
    ldx #$40
    stx APUFRAME             ; no frame IRQ
    ldx #$FF
    txs
    inx
    stx PPUCTRL              ; no NMI yet
    stx DMCFREQ
    lda #MASK_HIDE
    sta PPUMASK
    bit PPUSTATUS
@vblank1:
    bit PPUSTATUS
    bpl @vblank1
    lda #$3F                 ; the backdrop $0F while loading
    sta PPUADDR
    stx PPUADDR
    lda #BACKDROP
    sta PPUDATA
    stx PPUADDR
    stx PPUADDR
    txa
@clear:
    sta $0000,x
    sta $0100,x
    sta $0200,x
    sta $0300,x
    sta $0400,x
    sta $0500,x
    sta $0600,x
    sta $0700,x
    inx
    bne @clear
@vblank2:
    bit PPUSTATUS
    bpl @vblank2
    ldx #0
@copyRamCode:
    lda __RAMCODE_LOAD__,x
    sta __RAMCODE_RUN__,x
    inx
    cpx #<__RAMCODE_SIZE__
    bne @copyRamCode

    lda #$FF
    sta loadedZone           ; zone 0, room 0 (cleared above)
    jsr ReadRoom
    jsr WriteScreen
    lda #CTRL_NMI
    sta PPUCTRL
    jsr WaitFrame
    jsr WritePalettes
    jsr ShowScreen

Main:
    jsr WaitFrame            ; right after an NMI: nothing else writes `pressed`
    lda pressed              ; bits 0-3: Right, Left, Down, Up
    ldx #0
    stx pressed
    lsr a
    bcs @right
    lsr a
    bcs @left
    lsr a
    bcs @down
    lsr a
    bcc Main
@up:
    ldx zone
    bne @upStep
    ldx #ZONES
@upStep:
    dex
    stx zone
    jmp @firstRoom
@down:
    ldx zone
    inx
    cpx #ZONES
    bcc @downStep
    ldx #0
@downStep:
    stx zone
@firstRoom:
    lda #0
    sta room
    jmp @show
@right:
    ldx zone
    lda room
    cmp FactLast,x
    bcs @firstRoom           ; after the last room comes room 0
    inc room
    jmp @show
@left:
    lda room
    beq @lastRoom
    dec room
    jmp @show
@lastRoom:
    ldx zone
    lda FactLast,x
    sta room
@show:
    jsr ReadRoom             ; the old room stays on screen meanwhile
    jsr WaitFrame
    lda #MASK_HIDE
    sta PPUMASK              ; in vertical blank: rendering off while writing
    jsr WriteScreen
    jsr WaitFrame
    jsr WritePalettes        ; in vertical blank, where it cannot show
    jsr ShowScreen
    jmp Main

WaitFrame:
    lda frame
@wait:
    cmp frame
    beq @wait
    rts

ShowScreen:
    bit PPUSTATUS
    lda #0
    sta PPUADDR
    sta PPUADDR
    lda #CTRL_NMI
    sta PPUCTRL
    lda #0
    sta PPUSCROLL
    sta PPUSCROLL
    lda #MASK_SHOW
    sta PPUMASK
    rts

; Reads the current zone's room: its cells' tile numbers and attribute
; bytes, the palettes, and the tile to show around it.
ReadRoom:
    ldx zone
    lda FactHeader0,x
    sta table
    lda FactHeader1,x
    sta table+1
    lda FactHeader2,x
    sta table+2
    lda #HEADER_ATTRS
    jsr ReadPointer
    ldx #attrs
    jsr SaveOffset
    lda #HEADER_TILES
    jsr ReadPointer
    ldx #mtiles
    jsr SaveOffset
    lda #HEADER_ROOMS
    jsr ReadPointer
    ldx #table
    jsr SaveOffset           ; the room pointer table
    lda room
    jsr ReadPointer          ; the room's layout
    lda #<layout
    ldx #>layout
    jsr SetDest
    lda #ROOM_CELLS
    jsr CopyToRam

    ; Each cell's 16 tile numbers, one after the other in tileBuf.
    lda #<tileBuf
    ldx #>tileBuf
    jsr SetDest
    lda #0
    sta cell
@tiles:
    ldx cell
    lda layout,x
    jsr Times16
    ldx #mtiles
    jsr AddToOffset
    lda #16
    jsr CopyToRam
    inc cell
    lda cell
    cmp #ROOM_CELLS
    bne @tiles

    ; Each cell's attribute byte.
    lda #<attrBuf
    ldx #>attrBuf
    jsr SetDest
    lda #0
    sta cell
@attrs:
    ldx cell
    lda layout,x
    sta tmp
    lda #0
    sta tmp+1
    ldx #attrs
    jsr AddToOffset
    lda #1
    jsr CopyToRam
    inc cell
    lda cell
    cmp #ROOM_CELLS
    bne @attrs

    ; Palettes 0-2 from the zone's table, 3 from the first zone's.
    lda #0
    sta pal
@palettes:
    ldx zone
    lda pal
    cmp #SHARED_PALETTE
    bne @ownTable
    ldx #0
@ownTable:
    lda FactPalette0,x
    sta table
    lda FactPalette1,x
    sta table+1
    lda FactPalette2,x
    sta table+2
    lda pal
    jsr ReadPointer
    lda pal
    asl a
    asl a
    tax
    lda #BACKDROP
    sta palBuf,x
    inx
    txa
    clc
    adc #<palBuf
    pha
    lda #>palBuf
    adc #0
    tax
    pla
    jsr SetDest
    lda #3
    jsr CopyToRam
    inc pal
    lda pal
    cmp #4
    bne @palettes
    ldx #15
@colourBits:
    lda palBuf,x
    and #$3F
    sta palBuf,x
    dex
    bpl @colourBits

    jmp ChooseBlank

; foff = entry A (0..127) of the pointer table at `table`, as a file offset:
; the pointer less $8000 (values below stay), from the start of the bank that
; holds the table.
ReadPointer:
    asl a
    clc
    adc table
    sta foff
    lda table+1
    adc #0
    sta foff+1
    lda table+2
    adc #0
    sta foff+2
    lda #<ptr
    ldx #>ptr
    jsr SetDest
    lda #2
    jsr CopyToRam
    sec                      ; ((table - 16) AND NOT $3FFF) + 16 + (ptr AND $7FFF)
    lda table
    sbc #16
    lda table+1
    sbc #0
    and #$C0
    sta foff+1
    lda table+2
    sbc #0
    sta foff+2
    clc
    lda ptr
    adc #16
    sta foff
    lda ptr+1
    and #$7F
    adc foff+1
    sta foff+1
    lda foff+2
    adc #0
    sta foff+2
    rts

; Zero page at X (3 bytes) = foff.
SaveOffset:
    lda foff
    sta 0,x
    lda foff+1
    sta 1,x
    lda foff+2
    sta 2,x
    rts

; foff = the offset in zero page at X (3 bytes) + tmp (16 bits).
AddToOffset:
    clc
    lda 0,x
    adc tmp
    sta foff
    lda 1,x
    adc tmp+1
    sta foff+1
    lda 2,x
    adc #0
    sta foff+2
    rts

; tmp = 16 * A.
Times16:
    sta tmp
    lda #0
    sta tmp+1
    asl tmp
    rol tmp+1
    asl tmp
    rol tmp+1
    asl tmp
    rol tmp+1
    asl tmp
    rol tmp+1
    rts

; foff = the file offset of tile A of the zone's tile bank.
TileOffset:
    jsr Times16
    ldx zone
    clc
    lda FactTiles0,x
    adc tmp
    sta foff
    lda FactTiles1,x
    adc tmp+1
    sta foff+1
    lda FactTiles2,x
    adc #0
    sta foff+2
    rts

SetDest:
    sta dst
    stx dst+1
    rts

; Copies A bytes (1..255) from foff to RAM at dst.
CopyToRam:
    ldx #0
    stx mode
    beq CopyA

; Copies A bytes (1..255) from foff to PPUDATA.
CopyToPpu:
    ldx #$80
    stx mode
CopyA:
    sta len
    lda #0
    sta len+1
    ; fall through

; Copies `len` bytes from file offset foff to RAM at dst, or to PPUDATA when
; bit 7 of `mode` is set, a page of the source at a time. foff and dst move
; past the bytes copied.
FileCopy:
    lda len
    ora len+1
    bne @more
    rts
@more:
    sec                      ; g = foff - 16, the offset in the program banks
    lda foff
    sbc #16
    sta src
    lda foff+1
    sbc #0
    sta tmp
    lda foff+2
    sbc #0
    sta tmp+1
    lda tmp                  ; CPU address $8000 + (g AND $3FFF)
    and #$3F
    ora #$80
    sta src+1
    lda tmp                  ; bank = g >> 14
    asl a
    rol tmp+1
    asl a
    rol tmp+1
    lda tmp+1
    and #BANK_MASK
    sta bank
    lda #0                   ; cnt = bytes left in the source page, at most len
    sec
    sbc src
    sta cnt
    lda len+1
    bne @chunk
    lda cnt
    beq @useLen
    cmp len
    bcc @chunk
@useLen:
    lda len
    sta cnt
@chunk:
    jsr RamChunk
    ldx #0                   ; tmp = the count as 16 bits (0 means 256)
    lda cnt
    bne @low
    inx
@low:
    stx tmp+1
    clc
    adc foff
    sta foff
    lda foff+1
    adc tmp+1
    sta foff+1
    lda foff+2
    adc #0
    sta foff+2
    clc
    lda dst
    adc cnt
    sta dst
    lda dst+1
    adc tmp+1
    sta dst+1
    sec
    lda len
    sbc cnt
    sta len
    lda len+1
    sbc tmp+1
    sta len+1
    jmp FileCopy

; blank = a tile number the room does not use; when it uses all 256, the
; first tile of the zone whose pattern is empty (tile 0 when none is).
ChooseBlank:
    ldx #0
    txa
@clearUsed:
    sta used,x
    inx
    bne @clearUsed
    lda #<tileBuf
    sta rowptr
    lda #>tileBuf
    sta rowptr+1
    ldy #0
@mark:
    lda (rowptr),y
    tax
    lda #1
    sta used,x
    iny
    bne @mark
    inc rowptr+1
    lda rowptr+1
    cmp #>(tileBuf + 16 * ROOM_CELLS)
    bne @mark
    ldx #0
@find:
    lda used,x
    beq @found
    inx
    bne @find
    jmp EmptyTile
@found:
    stx blank
    rts

EmptyTile:
    lda #0
    sta blank
@try:
    lda blank
    jsr TileOffset
    lda #<tileTmp
    ldx #>tileTmp
    jsr SetDest
    lda #16
    jsr CopyToRam
    ldx #15
    lda #0
@or:
    ora tileTmp,x
    dex
    bpl @or
    cmp #0
    beq @done
    inc blank
    bne @try
@done:
    rts

; PPU address of tile A's pattern.
SetTileAddress:
    pha
    lsr a
    lsr a
    lsr a
    lsr a
    sta PPUADDR
    pla
    asl a
    asl a
    asl a
    asl a
    sta PPUADDR
    rts

WriteScreen:
    bit PPUSTATUS
    lda zone
    cmp loadedZone
    beq @sameZone
    sta loadedZone
    lda #0                   ; the zone's tile bank into the pattern table
    sta PPUADDR
    sta PPUADDR
    jsr TileOffset
    lda #$80
    sta mode
    lda #0
    sta len
    lda #$10
    sta len+1
    jsr FileCopy
    jmp @blankTile
@sameZone:
    lda oldBlank             ; the last room's blank tile gets its pattern back
    jsr SetTileAddress
    lda oldBlank
    jsr TileOffset
    lda #16
    jsr CopyToPpu
@blankTile:
    lda blank
    sta oldBlank
    jsr SetTileAddress
    lda #0
    ldx #16
@clearTile:
    sta PPUDATA
    dex
    bne @clearTile

    lda #$20                 ; name table: rows 0-3 blank
    sta PPUADDR
    lda #0
    sta PPUADDR
    lda blank
    ldx #4 * 32
@top:
    sta PPUDATA
    dex
    bne @top

    lda #<tileBuf            ; rows 4-27: the room, tile row by tile row
    sta rowptr
    lda #>tileBuf
    sta rowptr+1
    lda #0
    sta count
@row:
    ldx #8
    ldy #0
@cell:
    lda (rowptr),y
    sta PPUDATA
    iny
    lda (rowptr),y
    sta PPUDATA
    iny
    lda (rowptr),y
    sta PPUDATA
    iny
    lda (rowptr),y
    sta PPUDATA
    tya
    clc
    adc #13                  ; the same tile row of the next cell
    tay
    dex
    bne @cell
    inc count
    lda count
    cmp #24
    beq @rowsDone
    and #3
    beq @nextCells
    lda #4                   ; the next tile row of these cells
    bne @advance
@nextCells:
    lda #128 - 12            ; the first tile row of the next row of cells
@advance:
    clc
    adc rowptr
    sta rowptr
    bcc @row
    inc rowptr+1
    jmp @row
@rowsDone:
    lda blank                ; rows 28-29 blank
    ldx #2 * 32
@bottom:
    sta PPUDATA
    dex
    bne @bottom

    lda #0                   ; attribute table, right after the name table
    ldx #8
@attrTop:
    sta PPUDATA
    dex
    bne @attrTop
@attrRoom:
    lda attrBuf,x
    sta PPUDATA
    inx
    cpx #ROOM_CELLS
    bne @attrRoom
    lda #0
    ldx #8
@attrBottom:
    sta PPUDATA
    dex
    bne @attrBottom

    rts

; The palettes; the sprite palettes all $0F.
WritePalettes:
    bit PPUSTATUS
    lda #$3F
    sta PPUADDR
    lda #0
    sta PPUADDR
    ldx #0
@bgColours:
    lda palBuf,x
    sta PPUDATA
    inx
    cpx #16
    bne @bgColours
    lda #BACKDROP
    ldx #16
@spColours:
    sta PPUDATA
    dex
    bne @spColours
    rts

; Bank n is selected by writing n here while bank 0 is in the window.
BankTable:
    .byte 0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15

; ---------------------------------------------------------------------------
; Copied to RAM at $0200 at reset: these run while another bank is in the
; window. The NMI handler comes first, so that the NMI vector's low byte is 0.
.segment "RAMCODE"

viewer_nmi:
    pha
    txa
    pha
    lda #1
    sta JOY1
    lda #0
    sta JOY1
    ldx #8
@read:
    lda JOY1
    lsr a
    rol pad
    dex
    bne @read
    lda padPrev
    eor #$FF
    and pad
    ora pressed
    sta pressed
    lda pad
    sta padPrev
    inc frame
    pla
    tax
    pla
viewer_irq:
    rti

; Copies cnt bytes (0 = 256) from `src` in bank `bank` to RAM at dst, or to
; PPUDATA when bit 7 of `mode` is set; src must not cross a page. Called with
; bank 0 in the window, returns with bank 0 in the window.
RamChunk:
    ldx bank
    txa
    sta BankTable,x
    ldy #0
    bit mode
    bmi @ppu
@ram:
    lda (src),y
    sta (dst),y
    iny
    cpy cnt
    bne @ram
    beq @done
@ppu:
    lda cnt
    beq @ppuPage
@ppuBytes:
    lda (src),y
    sta PPUDATA
    iny
    cpy cnt
    bne @ppuBytes
    beq @done
@ppuPage:                    ; a whole page, eight bytes a round
    .repeat 8
    lda (src),y
    sta PPUDATA
    iny
    .endrepeat
    bne @ppuPage
@done:
    lda #0
    sta ZERO_IN_FIXED
    rts

.assert <viewer_nmi = 0, lderror, "the NMI handler must start a page"

; ---------------------------------------------------------------------------
; What the editor knows of each zone, written by the cartridge generator from
; its zone table: ten arrays of seven bytes, in this order.
.segment "FACTS"
zone_facts:
FactHeader0:  .res ZONES      ; zone header offset, bits 0-7
FactHeader1:  .res ZONES      ; bits 8-15
FactHeader2:  .res ZONES      ; bits 16-23
FactPalette0: .res ZONES      ; palette table offset
FactPalette1: .res ZONES
FactPalette2: .res ZONES
FactTiles0:   .res ZONES      ; tile bank offset
FactTiles1:   .res ZONES
FactTiles2:   .res ZONES
FactLast:     .res ZONES      ; last room number

; ---------------------------------------------------------------------------
.segment "VECTORS"
    .addr viewer_nmi, viewer_reset, viewer_irq
