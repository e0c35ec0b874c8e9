#!/usr/bin/python3
# Writes hsv_table.txt: colours r g b with the H, S, V the image import should give, by an
# independent conversion: the hue from the standard library's colorsys (scaled to 0..255,
# -25.5 for a grey), S the population standard deviation of the channels, V their mean.
import colorsys
import random
import statistics

random.seed(20261206)
colours = [(255, 0, 0), (0, 255, 0), (0, 0, 255), (255, 255, 0), (0, 255, 255), (255, 0, 255),
           (128, 128, 128), (0, 0, 0), (255, 255, 255), (1, 2, 3), (250, 10, 128), (10, 250, 128)]
colours += [tuple(random.randrange(256) for _ in range(3)) for _ in range(52)]
with open("hsv_table.txt", "w") as out:
    for r, g, b in colours:
        if r == g == b:
            h = -25.5
        else:
            h = 255 * colorsys.rgb_to_hsv(r / 255, g / 255, b / 255)[0]
        s = statistics.pstdev([r, g, b])
        v = (r + g + b) / 3
        out.write("%d %d %d %.9f %.9f %.9f\n" % (r, g, b, h, s, v))
