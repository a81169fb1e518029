"""A minimal GIF89a writer with its own LZW coder."""
import struct


def lzw_codes(indexes, min_code_size):
    """The variable-width LZW code stream of a GIF image, packed LSB first."""
    clear, end = 1 << min_code_size, (1 << min_code_size) + 1
    out, bit_buffer, bit_count = bytearray(), 0, 0
    width = min_code_size + 1

    def emit(code):
        nonlocal bit_buffer, bit_count
        bit_buffer |= code << bit_count
        bit_count += width
        while bit_count >= 8:
            out.append(bit_buffer & 0xFF)
            bit_buffer >>= 8
            bit_count -= 8

    def fresh_table():
        return {(i,): i for i in range(clear)}

    table, next_code = fresh_table(), end + 1
    emit(clear)
    prefix = ()
    for index in indexes:
        candidate = prefix + (index,)
        if candidate in table:
            prefix = candidate
            continue
        emit(table[prefix])
        if next_code < 4096:
            table[candidate] = next_code
            next_code += 1
            if next_code > (1 << width) and width < 12:
                width += 1
        else:
            emit(clear)
            table, next_code, width = fresh_table(), end + 1, min_code_size + 1
        prefix = (index,)
    if prefix:
        emit(table[prefix])
    emit(end)
    if bit_count:
        out.append(bit_buffer & 0xFF)
    return bytes(out)


def gif_file(pixels, width, height, palette):
    """pixels: rows top to bottom of indexes into a palette of 2..256 (r, g, b) colours."""
    bits = max(2, (len(palette) - 1).bit_length())
    table = b''.join(bytes(c) for c in palette) + bytes(3 * ((1 << bits) - len(palette)))
    screen = struct.pack('<HHBBB', width, height, 0x80 | ((bits - 1) << 4) | (bits - 1), 0, 0)
    image = b',' + struct.pack('<HHHHB', 0, 0, width, height, 0)
    data = lzw_codes([i for row in pixels for i in row], bits)
    blocks = b''.join(bytes((len(data[i:i + 255]),)) + data[i:i + 255] for i in range(0, len(data), 255))
    return b'GIF89a' + screen + table + image + bytes((bits,)) + blocks + b'\x00;'
