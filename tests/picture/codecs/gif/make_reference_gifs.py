# Writes GIF files with Pillow into the folder given as argument, for the GIF oracle test.
import random
import sys

from PIL import Image

out = sys.argv[1]
random.seed(7)


def gradient(w, h):
    im = Image.new("RGB", (w, h))
    im.putdata([((x * 255) // w, (y * 255) // h, ((x + y) * 3) % 256) for y in range(h) for x in range(w)])
    return im


def indexed(w, h, bits):
    im = Image.new("P", (w, h))
    colours = 1 << bits
    palette = []
    for i in range(colours):
        palette += [(i * 37) % 256, (i * 91) % 256, (255 - i * 13) % 256]
    im.putpalette(palette)
    im.putdata([(x * 3 + y * 5 + random.randrange(2)) % colours for y in range(h) for x in range(w)])
    return im


gradient(120, 90).quantize(256).save(f"{out}/pil_adaptive.gif", interlace=False)
gradient(97, 61).quantize(64).save(f"{out}/pil_interlaced.gif", interlace=True)
for bits in range(1, 9):
    indexed(33 + bits, 17 + bits, bits).save(f"{out}/pil_bits{bits}.gif", interlace=False)
indexed(40, 40, 4).save(f"{out}/pil_transparent.gif", transparency=3, interlace=False)
frames = [gradient(50, 40).quantize(16), indexed(50, 40, 3), indexed(50, 40, 8)]
frames[0].save(f"{out}/pil_frames.gif", save_all=True, append_images=frames[1:], duration=100, interlace=False)
