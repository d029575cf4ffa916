"""The contact sheet: every sprite strip and single image on one dark page.

Animations get a row each; single images are flowed side by side."""
import os

from PIL import Image, ImageDraw

PAGE_W = 2400
BG = (10, 12, 22, 255)
MAX_H = 400


def _fit(img):
    if img.width == 1:  # the haze strip: show it stretched
        img = img.resize((200, img.height))
    s = min(1.0, MAX_H / img.height, (PAGE_W - 20) / img.width)
    if s < 1.0:
        img = img.resize((max(1, int(img.width * s)), max(1, int(img.height * s))))
    return img


def write(items, path, max_frames=36):
    rows = []  # each row: list of (label, [images])
    flow, flow_w = [], 0
    for name, frames in items:
        if len(frames) > 1:
            if len(frames) > max_frames:
                frames = frames[::2]
            imgs = [_fit(f) for f in frames]
            w = sum(i.width + 4 for i in imgs)
            if w > PAGE_W - 20:
                s = (PAGE_W - 20) / w
                imgs = [i.resize((max(1, int(i.width * s)), max(1, int(i.height * s)))) for i in imgs]
            rows.append([(name, imgs)])
        else:
            img = _fit(frames[0])
            cell = max(img.width, 8 * len(os.path.basename(name)))
            if flow and flow_w + cell + 12 > PAGE_W - 20:
                rows.append(flow)
                flow, flow_w = [], 0
            flow.append((os.path.basename(name), [img]))
            flow_w += cell + 12
    if flow:
        rows.append(flow)
    heights = [max(max(i.height for i in imgs) for _, imgs in row) + 22 for row in rows]
    page = Image.new("RGBA", (PAGE_W, sum(heights) + 10), BG)
    d = ImageDraw.Draw(page)
    y = 5
    for row, rh in zip(rows, heights):
        x = 8
        for name, imgs in row:
            d.text((x, y), name, fill=(200, 220, 255, 255))
            x0 = x
            for img in imgs:
                page.alpha_composite(img, (x, y + 18))
                x += img.width + 4
            x = max(x, x0 + 8 * len(name)) + 8
        y += rh
    os.makedirs(os.path.dirname(os.path.abspath(path)), exist_ok=True)
    page.convert("RGB").save(path)
