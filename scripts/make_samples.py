#!/usr/bin/env python3
"""Writes the bundled sample data: samples/vornik.txt and samples/vornik.dat.

Every name here is invented. The content is kept readable in UTF-8 and
written as code page 932 with CR LF line ends, the form the program reads.
The output is fully determined by this script, so running it again gives
the same bytes.

Usage: scripts/make_samples.py [OUTPUT_DIR]   (default: samples/ of the repo)
"""

import os
import sys

FIELD_COUNT = 50

# Default vocabulary indexes (the settings file's defaults).
SMITH, SEW, ALCH, WOOD, GOLD, LEATHER, BONE, FISH, COOK, GARDEN = range(1, 11)
FIRE, WATER, EARTH, WIND, THUNDER, ICE, LIGHT, DARK = range(1, 9)
RANK_UNKNOWN, RANK_HIDDEN = 98, 99


class Recipe:
    def __init__(self, name, materials, crystal, skill, rank, levels=None, hq=("", "", ""),
                 desc="", ex=False, rare=False, stack=False, desynth="", reserved="", yield_=0):
        self.name = name
        self.yield_ = yield_
        self.materials = materials          # [(name, count)], at most 8 units
        self.crystal = crystal
        self.skill = skill
        self.rank = rank
        self.levels = levels or {}          # skill -> (need, cap); either may be ""
        self.hq = hq
        self.desc = desc                    # lines joined with "\n"
        self.ex = ex
        self.rare = rare
        self.stack = stack
        self.desynth = desynth
        self.reserved = reserved
        self.hq_raw = None                  # stored text used as is when set

    def fields(self, record_id):
        f = [""] * FIELD_COUNT
        f[0] = str(record_id)
        f[1] = self.name + (" %d" % self.yield_ if self.yield_ else "")
        slots = []
        for material, count in self.materials:
            slots.extend([material] * count)
        assert len(slots) <= 8, self.name
        for i, material in enumerate(slots):
            f[2 + i] = material
        f[10] = str(self.crystal)
        for k, (need, cap) in self.levels.items():
            assert 1 <= k <= 10
            if need != "" or cap != "":
                f[10 + k] = "1"
            f[20 + k] = str(need)
            f[30 + k] = str(cap)
        f[41] = self.hq_raw if self.hq_raw is not None else "<>".join(self.hq)
        f[42] = str(self.skill)
        f[43] = str(self.rank)
        f[44] = self.desc.replace("\n", "<br>").replace("＞", "&gt")
        f[45] = "1" if self.ex else "0"
        f[46] = "1" if self.rare else "0"
        f[47] = "1" if self.stack else "0"
        f[48] = self.desynth
        f[49] = self.reserved
        for value in f:
            assert "," not in value and "\r" not in value and "\n" not in value, value
        return f


def level_for_rank(rank, step):
    """Required level inside a rank's band of ten levels."""
    return max(1, (rank - 1) * 10 + step)


def jobs(*abbreviations):
    return "".join(abbreviations)


# --------------------------------------------------------------------------
# Smithing: ores are smelted into bars, bars are forged into arms and armour.

SMITH_TIERS = [
    # metal, rank, item level, jobs that may wear its arms
    ("灰銅", 1, 1, "All Job"),
    ("緋鉄", 2, 12, jobs("戦", "赤", "シ", "ナ", "暗")),
    ("蒼鋼", 3, 24, jobs("戦", "ナ", "暗", "侍")),
    ("月輝鋼", 5, 40, jobs("戦", "赤", "ナ", "竜")),
    ("星鉄", 7, 55, jobs("戦", "ナ", "暗", "忍")),
    ("黒曜鋼", 9, 68, jobs("戦", "暗", "侍", "竜")),
    ("天鳴鋼", 11, 75, jobs("戦", "ナ", "暗")),
]

SMITH_KINDS = [
    # suffix, class, attack base, bars, extra material
    ("の短剣", "（短剣）", 6, 1, ("革紐", 1)),
    ("の細剣", "（片手剣）", 9, 2, ("革紐", 1)),
    ("の大剣", "（両手剣）", 20, 3, ("樫の柄", 1)),
    ("の手斧", "（片手斧）", 11, 2, ("樫の柄", 1)),
    ("の大鎌", "（両手鎌）", 22, 3, ("樫の柄", 2)),
    ("の円盾", "【盾】", 4, 2, ("鞣し革", 1)),
]


def smithing():
    out = []
    for t, (metal, rank, item_level, wearers) in enumerate(SMITH_TIERS):
        need = level_for_rank(rank, 2)
        out.append(Recipe(metal + "塊", [(metal + "鉱", 4)], FIRE, SMITH, rank,
                          {SMITH: (need, need + 8)},
                          hq=(metal + "塊 2", metal + "塊 3", metal + "塊 4"),
                          desc="鍛冶の基本となる金属塊。", stack=True,
                          desynth=metal + "鉱 2"))
        # Two kinds per tier, rotating through the list, plus the shield on odd tiers.
        picks = [SMITH_KINDS[(2 * t) % 5], SMITH_KINDS[(2 * t + 1) % 5]]
        if t % 2:
            picks.append(SMITH_KINDS[5])
        for i, (suffix, cls, base, bars, extra) in enumerate(picks):
            lv = item_level + i * 2
            power = base + t * 4
            if cls == "【盾】":
                stats = "防%d" % (power + 2)
            else:
                stats = "威力%d 間隔%d" % (power, 180 + 30 * bars)
            subs = {SMITH: (need + 3 + i * 3, need + 13 + i * 3)}
            if t >= 3 and extra[0] == "鞣し革":
                subs[LEATHER] = (need // 2, "")
            name = metal + suffix
            out.append(Recipe(name, [(metal + "塊", bars), extra], FIRE, SMITH, rank, subs,
                              hq=(name + "改", name + "改", "") if t % 3 else (name + "改", "", ""),
                              desc="%s %s\nLv%d～ %s" % (cls, stats, lv, wearers),
                              desynth="%s塊 %d" % (metal, bars) if bars > 1 else metal + "塊"))
    return out


# --------------------------------------------------------------------------
# Sewing: fibres become thread and cloth, cloth becomes clothing.

SEW_TIERS = [
    ("綿草", "綿糸", "綿布", 1, 3, "All Job"),
    ("霧麻", "霧麻糸", "霧麻布", 3, 20, jobs("モ", "赤", "黒", "白", "吟", "召")),
    ("紅蚕", "紅絹糸", "紅絹布", 5, 38, jobs("赤", "黒", "白", "吟", "召")),
    ("月影蚕", "月影糸", "月影布", 7, 52, jobs("黒", "白", "召")),
    ("星綿", "星綿糸", "星綿布", 10, 72, jobs("白", "黒", "赤")),
]

SEW_KINDS = [
    ("頭巾", "【頭】", 2, 2),
    ("長衣", "【胴】", 3, 6),
    ("手袋", "【両手】", 1, 2),
    ("脚衣", "【両脚】", 2, 4),
    ("外套", "【背】", 2, 1),
    ("飾り帯", "【腰】", 1, 1),
]


def sewing():
    out = []
    for t, (fibre, thread, cloth, rank, item_level, wearers) in enumerate(SEW_TIERS):
        need = level_for_rank(rank, 1)
        out.append(Recipe(thread, [(fibre, 1)], LIGHT if t else WIND, SEW, rank, {SEW: (need, need + 6)},
                          hq=(thread + " 2", thread + " 3", thread + " 4"),
                          desc="糸車で紡いだ糸。", stack=True, desynth=""))
        out.append(Recipe(cloth, [(thread, 3)], EARTH, SEW, rank, {SEW: (need + 2, need + 10)},
                          hq=(cloth + " 2", cloth + " 3", ""), desc="織機で織った布地。", stack=True,
                          desynth=thread + " 2"))
        for i in range(3):
            kind, cls, cloths, defence = SEW_KINDS[(t + 2 * i) % len(SEW_KINDS)]
            name = cloth.replace("布", "") + "の" + kind
            mats = [(cloth, cloths), (thread, 1)]
            subs = {SEW: (need + 4 + 2 * i, need + 14 + 2 * i)}
            if kind == "手袋" and t >= 2:
                mats.append(("鞣し革", 1))
                subs[LEATHER] = (need - 8, "")
            out.append(Recipe(name, mats, WIND, SEW, rank, subs,
                              hq=(name + "改", "", ""),
                              desc="%s 防%d\nLv%d～ %s" % (cls, defence + t * 3, item_level + 2 * i, wearers),
                              desynth=cloth))
    return out


# --------------------------------------------------------------------------
# Alchemy: distilled water, potions, catalysts and charms.

def alchemy():
    out = [
        Recipe("蒸留霊水", [("湧き清水", 1)], LIGHT, ALCH, 1, {ALCH: (1, 8)},
               hq=("蒸留霊水 2", "蒸留霊水 3", "蒸留霊水 4"), desc="不純物を取り除いた水。", stack=True),
        Recipe("若葉の水薬", [("蒸留霊水", 1), ("月見草", 2)], WATER, ALCH, 1, {ALCH: (5, 15)},
               hq=("若葉の水薬+1", "", ""), desc="HPを50回復する。\nLv1～ All Job", stack=True),
        Recipe("眠り粉", [("夢見茸", 2)], WIND, ALCH, 2, {ALCH: (14, 24)}, yield_=12,
               hq=("眠り粉 16", "眠り粉 20", "眠り粉 24"), desc="（投てき） 敵を眠らせる粉。\nLv10～ シ忍狩",
               stack=True, desynth="夢見茸"),
        Recipe("霊樹の触媒", [("霊樹の枝", 1), ("蒸留霊水", 1), ("光苔", 1)], LIGHT, ALCH, 3,
               {ALCH: (25, 35), WOOD: (10, "")}, hq=("霊樹の触媒改", "", ""),
               desc="（触媒） 魔力+2\nLv25～ 黒白赤召", desynth="霊樹の枝"),
        Recipe("碧玉の触媒", [("碧玉", 1), ("蒸留霊水", 2), ("光苔", 1)], LIGHT, ALCH, 5,
               {ALCH: (44, 54), GOLD: (20, "")}, hq=("碧玉の触媒改", "碧玉の触媒改", ""),
               desc="（触媒） 魔力+4 精神+2\nLv44～ 黒白召", rare=True, desynth="碧玉"),
        Recipe("守りの霊薬", [("蒸留霊水", 1), ("銀苔", 1), ("竜の涙", 1)], WATER, ALCH, 6,
               {ALCH: (55, 65)}, hq=("守りの霊薬+1", "守りの霊薬+1 2", ""),
               desc="一定時間防御力を高める。\nLv20～ All Job", stack=True),
        Recipe("夜光の首飾り", [("夜光石", 2), ("霧麻糸", 1), ("蒸留霊水", 1)], DARK, ALCH, 7,
               {ALCH: (63, 73), SEW: (30, "")}, hq=("夜光の首飾り改", "", ""),
               desc="【首】 防3 魔防+3\nLv50～ 黒白赤吟召", rare=True, ex=True),
        Recipe("錬成の指輪", [("錬金銀", 1), ("紅玉", 1)], LIGHT, ALCH, 8,
               {ALCH: (75, 85), GOLD: (40, 50)}, hq=("錬成の指輪改", "", ""),
               desc="【指】 魔力+3\nLv60～ 黒召", rare=True, desynth="錬金銀"),
        Recipe("賢者の秘薬", [("蒸留霊水", 2), ("竜の涙", 2), ("不死鳥の羽", 1), ("銀苔", 3)], LIGHT, ALCH, 10,
               {ALCH: (96, 106)}, hq=("賢者の秘薬 2", "賢者の秘薬 3", ""),
               desc="HPとMPを全回復する。\nLv1～ All Job", rare=True, ex=True),
        Recipe("錬金銀", [("銀の砂", 3), ("蒸留霊水", 1)], FIRE, ALCH, 4, {ALCH: (38, 48), SMITH: (20, "")},
               hq=("錬金銀 2", "錬金銀 3", ""), desc="錬金術で精製した銀。", stack=True),
        Recipe("毒消しの丸薬", [("苦艾", 1), ("蒸留霊水", 1)], WATER, ALCH, 2, {ALCH: (16, 26)}, yield_=3,
               hq=("毒消しの丸薬 4", "毒消しの丸薬 6", ""), desc="毒を治す。", stack=True),
        Recipe("雷鳴の耳飾り", [("雷晶石", 1), ("錬金銀", 1)], THUNDER, ALCH, 9,
               {ALCH: (84, 94), GOLD: (60, "")}, hq=("雷鳴の耳飾り改", "", ""),
               desc="【耳】 器用+2 敏捷+2\nLv70～ シ狩忍竜", rare=True),
    ]
    return out


# --------------------------------------------------------------------------
# Woodworking: lumber, bows, staves, spears, instruments, fishing rods.

WOOD_TIERS = [
    ("灰樫", 1, 5, 0),
    ("白楡", 2, 14, 1),
    ("紅楓", 4, 30, 2),
    ("黒檀木", 6, 46, 3),
    ("霊樹", 8, 62, 4),
]

WOOD_KINDS = [
    ("の短弓", "（弓術）", "狩戦シ", 8),
    ("の長杖", "（両手棍）", "白黒召モ", 14),
    ("の長槍", "（両手槍）", "竜戦ナ", 16),
    ("の竪琴", "（弦楽器）", "吟", 0),
    ("の横笛", "（管楽器）", "吟", 0),
    ("の釣り竿", "（釣り具）", "All Job", 0),
    ("の木盾", "【盾】", "戦ナ白", 3),
]


def woodworking():
    out = []
    for t, (wood, rank, item_level, _) in enumerate(WOOD_TIERS):
        need = level_for_rank(rank, 3)
        lumber = wood + "の木材"
        out.append(Recipe(lumber, [(wood + "の原木", 1)], WIND, WOOD, rank, {WOOD: (need, need + 9)},
                          hq=(lumber + " 2", lumber + " 3", lumber + " 6"), desc="削り出した木材。", stack=True))
        for i in range(3):
            suffix, cls, wearers, power = WOOD_KINDS[(3 * t + i) % len(WOOD_KINDS)]
            name = wood + suffix
            lv = item_level + 3 * i
            if power == 0:
                stats = "特殊装備"
            elif cls == "【盾】":
                stats = "防%d" % (power + t * 2)
            else:
                stats = "威力%d" % (power + t * 5)
            subs = {WOOD: (need + 2 + 3 * i, need + 12 + 3 * i)}
            mats = [(lumber, 2 if cls != "（釣り具）" else 1)]
            if cls in ("（弦楽器）", "（釣り具）"):
                mats.append(("綿糸", 1))
                subs[SEW] = (max(1, need - 10), "")
            if cls == "（両手槍）":
                mats.append(("%s塊" % SMITH_TIERS[min(t, 6)][0], 1))
                subs[SMITH] = (max(1, need - 5), "")
            out.append(Recipe(name, mats, WIND if i % 2 else EARTH, WOOD, rank, subs,
                              hq=(name + "改", "", "") if i != 1 else ("", "", ""),
                              desc="%s %s\nLv%d～ %s" % (cls, stats, lv, wearers), desynth=lumber))
        out.append(Recipe(wood + "の矢", [(lumber, 1), ("鳥の羽根", 1)], WIND, WOOD, rank,
                          {WOOD: (need + 1, need + 8)}, yield_=33,
                          hq=(wood + "の矢 66", wood + "の矢 99", ""),
                          desc="（射撃） 威力%d\nLv%d～ 狩" % (10 + t * 6, item_level), stack=True))
    return out


# --------------------------------------------------------------------------
# Goldsmithing: wire, rings, earrings, necklaces, maces and thrown stars.

def goldsmithing():
    gems = [("水晶石", 1, 8), ("紫水玉", 3, 26), ("紅玉", 5, 41), ("碧玉", 7, 57), ("虹彩石", 9, 70)]
    out = []
    out.append(Recipe("細銀線", [("錬金銀", 1)], THUNDER, GOLD, 2, {GOLD: (12, 22)},
                      hq=("細銀線 2", "細銀線 3", ""), desc="細く伸ばした銀の線。", stack=True))
    for t, (gem, rank, item_level) in enumerate(gems):
        need = level_for_rank(rank, 4)
        for j, (suffix, cls, stats) in enumerate([("の指輪", "【指】", "魔防+%d"), ("の耳飾り", "【耳】", "回避+%d"),
                                                  ("の首飾り", "【首】", "命中+%d")]):
            if (t + j) % 3 == 2:
                continue
            name = gem + suffix
            out.append(Recipe(name, [(gem, 1), ("細銀線", 1 + j)], THUNDER, GOLD, rank,
                              {GOLD: (need + 3 * j, need + 10 + 3 * j)},
                              hq=(name + "改", "", ""), rare=t >= 3,
                              desc="%s %s\nLv%d～ All Job" % (cls, stats % (t + 2), item_level + j), desynth=gem))
    out += [
        Recipe("錬鉄の戦棍", [("緋鉄塊", 2), ("錬金銀", 1)], FIRE, GOLD, 4, {GOLD: (33, 43), SMITH: (18, "")},
               hq=("錬鉄の戦棍改", "錬鉄の戦棍改", ""), desc="（片手棍） 威力15 間隔290\nLv28～ 白戦ナモ",
               desynth="緋鉄塊"),
        Recipe("星形手裏剣", [("蒼鋼塊", 1)], FIRE, GOLD, 3, {GOLD: (26, 36)}, yield_=12,
               hq=("星形手裏剣 24", "星形手裏剣 36", "星形手裏剣 48"), desc="（投てき） 威力18\nLv25～ 忍",
               stack=True),
        Recipe("十字の首飾り", [("細銀線", 2), ("水晶石", 1)], LIGHT, GOLD, 3, {GOLD: (27, 37)},
               hq=("十字の首飾り改", "", ""), desc="【首】 精神+2\n表に十字が刻まれている。\nLv22～ 白ナ",
               desynth="細銀線 2"),
        Recipe("銃弾", [("緋鉄塊", 1), ("火薬", 1)], FIRE, GOLD, 2, {GOLD: (18, 26)}, yield_=99,
               hq=("", "", ""), desc="（射撃） 威力20\nLv20～ 狩", stack=True),
    ]
    return out


# --------------------------------------------------------------------------
# Leathercraft.

def leathercraft():
    hides = [("兎の皮", "鞣し革", 1, 4), ("狼の皮", "狼革", 3, 22), ("大蜥蜴の皮", "蜥蜴革", 5, 40),
             ("翼竜の皮", "翼竜革", 8, 62)]
    kinds = [("の胴着", "【胴】", 4, 3), ("の小手", "【両手】", 2, 2), ("の長靴", "【両足】", 2, 2),
             ("の腰帯", "【腰】", 1, 1), ("の拳当て", "（格闘）", 6, 2)]
    out = []
    for t, (hide, leather, rank, item_level) in enumerate(hides):
        need = level_for_rank(rank, 2)
        out.append(Recipe(leather, [(hide, 1), ("鞣し液", 1)], DARK, LEATHER, rank, {LEATHER: (need, need + 8)},
                          hq=(leather + " 2", "", ""), desc="鞣して柔らかくした革。", stack=True, desynth=hide))
        for i in range(3):
            suffix, cls, defence, pieces = kinds[(t + i) % len(kinds)]
            name = leather + suffix
            stat = "威力%d" % (defence + t * 4) if cls == "（格闘）" else "防%d" % (defence + t * 3)
            wearers = "モ戦シ忍" if cls == "（格闘）" else ("All Job" if t == 0 else "戦モシ狩獣忍")
            out.append(Recipe(name, [(leather, pieces), ("綿糸", 1)], EARTH, LEATHER, rank,
                              {LEATHER: (need + 2 + 2 * i, need + 12 + 2 * i)},
                              hq=(name + "改", "", "" if i else name + "真"),
                              desc="%s %s\nLv%d～ %s" % (cls, stat, item_level + i, wearers),
                              desynth=leather if pieces < 2 else "%s %d" % (leather, pieces)))
    return out


# --------------------------------------------------------------------------
# Bonecraft.

def bonecraft():
    out = [
        Recipe("骨粉", [("獣の骨", 1)], WIND, BONE, 1, {BONE: (2, 10)}, yield_=2,
               hq=("骨粉 4", "骨粉 6", "骨粉 8"), desc="細かく砕いた骨。", stack=True),
        Recipe("骨の指輪", [("獣の骨", 1)], WIND, BONE, 1, {BONE: (6, 16)}, hq=("骨の指輪改", "", ""),
               desc="【指】 HP+5\nLv5～ All Job", desynth="骨粉"),
        Recipe("牙の首飾り", [("狼の牙", 2), ("綿糸", 1)], WIND, BONE, 2, {BONE: (15, 25)},
               hq=("牙の首飾り改", "", ""), desc="【首】 攻+3\nLv14～ 戦モシ狩獣", desynth="狼の牙"),
        Recipe("角笛", [("大角", 1), ("蜜蝋", 1)], WIND, BONE, 3, {BONE: (28, 38), GARDEN: (5, "")},
               hq=("角笛改", "", ""), desc="（管楽器） 歌効果+1\nLv30～ 吟", desynth="大角"),
        Recipe("甲羅の盾", [("大亀の甲羅", 1), ("鞣し革", 1)], EARTH, BONE, 4, {BONE: (35, 45), LEATHER: (10, "")},
               hq=("甲羅の盾改", "甲羅の盾改", ""), desc="【盾】 防14\nLv31～ 戦ナ獣", desynth="大亀の甲羅"),
        Recipe("骨の投げ矢", [("獣の骨", 1), ("鳥の羽根", 1)], WIND, BONE, 2, {BONE: (18, 28)}, yield_=12,
               hq=("骨の投げ矢 24", "骨の投げ矢 36", ""), desc="（投てき） 威力12\nLv16～ 戦シ狩忍", stack=True),
        Recipe("竜骨の大刀", [("竜の骨", 3), ("星鉄塊", 2), ("竜革の柄", 1)], DARK, BONE, 8,
               {BONE: (75, 85), SMITH: (50, ""), LEATHER: (40, "")}, hq=("竜骨の大刀改", "", ""),
               desc="（両手刀） 威力58 間隔450\nLv66～ 侍", rare=True, desynth="竜の骨 2"),
        Recipe("鮫牙の小刀", [("鮫の牙", 2), ("白楡の木材", 1)], WIND, BONE, 5, {BONE: (45, 55), WOOD: (20, "")},
               hq=("鮫牙の小刀改", "", ""), desc="（片手刀） 威力24 間隔227\nLv43～ 忍", desynth="鮫の牙"),
        Recipe("獣骨の鉤爪", [("獣の骨", 3), ("狼革", 1)], WIND, BONE, 3, {BONE: (24, 34), LEATHER: (12, "")},
               hq=("獣骨の鉤爪改", "", ""), desc="（格闘） 威力9\nLv24～ モ忍", desynth="獣の骨 2"),
        Recipe("幻獣の角杯", [("幻獣の角", 1), ("金の砂", 1)], LIGHT, BONE, 9, {BONE: (88, 98), GOLD: (55, "")},
               hq=("幻獣の角杯 2", "", ""), desc="儀式に用いる杯。\n持ち主に幸運を運ぶと言われる。", rare=True, ex=True),
    ]
    return out


# --------------------------------------------------------------------------
# Fishing (baits and tackle) and cooking.

def fishing():
    return [
        Recipe("練り餌", [("小麦粉", 1), ("骨粉", 1)], WATER, FISH, 1, {FISH: (1, 9)}, yield_=12,
               hq=("練り餌 24", "練り餌 36", ""), desc="（釣り具） 川魚がよく掛かる餌。", stack=True),
        Recipe("光る疑似餌", [("夜光石", 1), ("鳥の羽根", 1)], LIGHT, FISH, 4, {FISH: (33, 43), GOLD: (12, "")},
               hq=("光る疑似餌 2", "", ""), desc="（釣り具） 深海の魚を誘う。\nLv1～ All Job", stack=True),
        Recipe("大物用の釣り糸", [("霧麻糸", 3)], WIND, FISH, 6, {FISH: (52, 62), SEW: (25, "")},
               hq=("", "", ""), desc="（釣り具） 大物にも切れない丈夫な糸。", stack=True),
    ]


def cooking():
    out = [
        Recipe("焼き川魚", [("銀鱗魚", 1), ("岩塩", 1)], FIRE, COOK, 1, {COOK: (3, 11)},
               hq=("香ばしい焼き川魚", "", ""), desc="HP+10 器用+1\n効果時間 30分", stack=True),
        Recipe("森のきのこ汁", [("夢見茸", 1), ("湧き清水", 1), ("岩塩", 1)], FIRE, COOK, 2, {COOK: (14, 22)},
               hq=("濃厚なきのこ汁", "", ""), desc="MP+15 精神+2\n効果時間 60分", stack=True),
        Recipe("蜂蜜パン", [("小麦粉", 2), ("蜜蝋", 1), ("湧き清水", 1)], FIRE, COOK, 3, {COOK: (25, 33)},
               yield_=4, hq=("黄金の蜂蜜パン 4", "黄金の蜂蜜パン 8", ""), desc="HP+20 体力+2\n効果時間 30分",
               stack=True),
        Recipe("魔鳥の串焼き", [("魔鳥の肉", 1), ("岩塩", 1), ("香草", 1)], FIRE, COOK, 4, {COOK: (36, 44)},
               hq=("極上の串焼き", "", ""), desc="攻+12％ 敏捷+3\n効果時間 30分", stack=True),
        Recipe("氷菓子", [("雪解け水", 1), ("蜜蝋", 1), ("山苺", 2)], ICE, COOK, 5, {COOK: (45, 53)},
               yield_=2, hq=("とろける氷菓子 2", "とろける氷菓子 4", ""), desc="MP+30 知力+3\n効果時間 60分",
               stack=True),
        Recipe("海鮮の煮込み", [("大海老", 1), ("銀鱗魚", 2), ("香草", 1), ("湧き清水", 1), ("岩塩", 1)], FIRE, COOK, 6,
               {COOK: (56, 64), FISH: (20, "")}, hq=("豪華な海鮮の煮込み", "", ""),
               desc="HP+40 体力+5 器用+2\n効果時間 3時間", stack=True),
        Recipe("竜肉のステーキ", [("竜の肉", 1), ("岩塩", 1), ("香草", 1), ("黒胡椒", 1)], FIRE, COOK, 8,
               {COOK: (75, 83)}, hq=("至高のステーキ", "", ""), desc="攻+20％ 腕力+6\n効果時間 3時間", stack=True),
        Recipe("宴の大皿料理", [("竜の肉", 2), ("大海老", 2), ("香草", 2), ("山苺", 1), ("小麦粉", 1)], FIRE, COOK, 10,
               {COOK: (98, 106)}, hq=("", "", ""), desc="HP+100 MP+100\n全能力+5\n効果時間 3時間", rare=True),
        Recipe("香草茶", [("香草", 1), ("湧き清水", 1)], FIRE, COOK, 2, {COOK: (11, 19)}, yield_=3,
               hq=("香草茶 6", "香草茶 9", "香草茶 12"), desc="MP回復量+1\n効果時間 30分", stack=True),
        Recipe("干し肉", [("魔鳥の肉", 1), ("岩塩", 1)], WIND, COOK, 3, {COOK: (21, 29)}, yield_=4,
               hq=("干し肉 8", "干し肉 12", ""), desc="HP+15 腕力+2\n効果時間 30分", stack=True),
    ]
    return out


def gardening():
    return [
        Recipe("香草の種", [("香草", 1)], EARTH, GARDEN, 1, {GARDEN: (1, 9)}, yield_=3,
               hq=("香草の種 6", "", ""), desc="植木鉢で香草が育つ。", stack=True),
        Recipe("山苺の苗", [("山苺", 2), ("腐葉土", 1)], EARTH, GARDEN, 3, {GARDEN: (22, 30)},
               hq=("山苺の苗 2", "", ""), desc="甘い実をつける苗。", stack=True),
        Recipe("腐葉土", [("落ち葉", 4)], DARK, GARDEN, 2, {GARDEN: (12, 20)}, yield_=2,
               hq=("腐葉土 4", "腐葉土 6", ""), desc="栄養豊かな土。", stack=True),
        Recipe("光苔", [("苔の胞子", 1), ("湧き清水", 1)], LIGHT, GARDEN, 4, {GARDEN: (34, 42), ALCH: (10, "")},
               hq=("光苔 2", "光苔 3", ""), desc="暗がりでほのかに光る苔。", stack=True),
    ]


# --------------------------------------------------------------------------
# Recipes that exercise the unusual corners of the format.

def special():
    hidden_blade = Recipe("宵闇の魔剣", [("黒曜鋼塊", 3), ("闇の宝珠", 1), ("竜革の柄", 1), ("夜光石", 2),
                                      ("幻獣の角", 1)], DARK, SMITH, RANK_HIDDEN,
                          {SMITH: (101, ""), ALCH: (60, ""), LEATHER: (45, ""), BONE: (40, "")},
                          hq=("宵闇の魔剣改", "", ""),
                          desc="（片手剣） 威力48 間隔240\n闇属性ダメージ+10\nLv75～ 暗赤ナ", ex=True, rare=True)
    unknown_cloak = Recipe("霧隠れの外套", [("月影布", 2), ("霧麻糸", 1)], ICE, SEW, RANK_UNKNOWN, {},
                           hq=("", "", ""), desc="【背】 回避+6\n入手方法不明。\nLv60～ 忍シ", ex=True)
    # A record without a main skill, listed for its description only.
    relic = Recipe("古代王の紋章", [], 0, 0, 0, {}, desc="古い王家の紋章。\n鑑定すると何かが分かるかもしれない。",
                   ex=True, rare=True)
    relic.hq_raw = "0<><>"
    # Without a skill but with the fire crystal: the crystal criterion drops it.
    lantern = Recipe("旅人のランタン", [("緋鉄塊", 1), ("蜜蝋", 1)], FIRE, 0, 0, {},
                     desc="暗い洞窟を照らす。\n※調合者不明", stack=False)
    lantern.hq_raw = ""
    offering = Recipe("精霊への供物", [("山苺", 1), ("香草", 1), ("湧き清水", 1)], WATER, 0, 0, {},
                      desc="祭壇に捧げる。", stack=True)
    offering.hq_raw = "<><>"
    out = [
        hidden_blade, unknown_cloak, relic, lantern, offering,
        # Eight units of five different materials.
        Recipe("聖者の法衣", [("星綿布", 3), ("星綿糸", 2), ("紅玉", 1), ("錬金銀", 1), ("不死鳥の羽", 1)], LIGHT, SEW,
               11, {SEW: (105, 112), ALCH: (70, ""), GOLD: (50, "")}, hq=("聖者の法衣改", "", ""),
               desc="【胴】 防52 MP+60 精神+12\n回復量+10％\nLv75～ 白", rare=True, ex=True,
               desynth="星綿布 2"),
        Recipe("天鳴鋼の大太刀", [("天鳴鋼塊", 4), ("竜革の柄", 1), ("雷晶石", 2), ("錬金銀", 1)], FIRE, SMITH, 11,
               {SMITH: (110, 118), GOLD: (60, ""), LEATHER: (50, "")}, hq=("天鳴鋼の大太刀改", "", ""),
               desc="（両手刀） 威力72 間隔450\n雷属性ダメージ+5\nLv75～ 侍", rare=True, desynth="天鳴鋼塊 3"),
        # "＞" is stored as "&gt".
        Recipe("強化砥石", [("砥石の原石", 2), ("蒼鋼塊", 1)], EARTH, SMITH, 4, {SMITH: (31, 39)}, yield_=3,
               hq=("強化砥石 6", "強化砥石 9", ""), desc="武器の強化段階：壱＞弐\n鍛冶ギルドで扱う。", stack=True),
        Recipe("精錬の秘薬", [("錬金銀", 1), ("竜の涙", 1)], LIGHT, ALCH, 6, {ALCH: (58, 66)},
               hq=("精錬の秘薬 2", "", ""), desc="品質：並＞上＞極\n精錬に使う。", stack=True, rare=True),
        # Half-width katakana in the description and a full-width comma.
        Recipe("ﾙﾐﾅ鋼の細剣", [("月輝鋼塊", 2), ("光苔", 1)], FIRE, SMITH, 6, {SMITH: (56, 64)},
               hq=("ﾙﾐﾅ鋼の細剣改", "", ""), desc="（片手剣） 威力31 間隔224\nｸﾘﾃｨｶﾙ+2，光属性\nLv50～ 赤ナ",
               desynth="月輝鋼塊 2"),
        # "Lv" without a following "～": no item level.
        Recipe("見習いの作業着", [("綿布", 2)], WIND, SEW, 1, {SEW: (4, 12)}, hq=("見習いの作業着改", "", ""),
               desc="【胴】 防2\nLv制限なし 戦モ白", desynth="綿布"),
        # Two items on the edges of a level range (30 and 31).
        Recipe("蒼鋼の兜", [("蒼鋼塊", 2), ("鞣し革", 1)], FIRE, SMITH, 4, {SMITH: (33, 41), LEATHER: (8, "")},
               hq=("蒼鋼の兜改", "", ""), desc="【頭】 防9\nLv30～ 戦ナ暗侍竜", desynth="蒼鋼塊"),
        Recipe("蒼鋼の胴鎧", [("蒼鋼塊", 4), ("鞣し革", 2)], FIRE, SMITH, 4, {SMITH: (36, 44), LEATHER: (10, "")},
               hq=("蒼鋼の胴鎧改", "", ""), desc="【胴】 防21\nLv31～ 戦ナ暗侍竜", desynth="蒼鋼塊 2"),
        # A description mentioning a class only in passing, and an "All Job" item.
        Recipe("旅人の護符", [("水晶石", 1), ("綿糸", 1)], LIGHT, GOLD, 1, {GOLD: (3, 11)},
               hq=("旅人の護符改", "旅人の護符改", "旅人の護符真"), desc="【首】 HP+10 MP+10\nLv1～ All Job",
               desynth="水晶石"),
        Recipe("狩人の長弓", [("黒檀木の木材", 3), ("狼革", 1), ("星綿糸", 1)], WIND, WOOD, 7,
               {WOOD: (64, 72), LEATHER: (30, ""), SEW: (40, "")}, hq=("狩人の長弓改", "", ""),
               desc="（弓術） 威力38 間隔432\n飛び道具の命中+5\nLv56～ 狩", desynth="黒檀木の木材 2"),
        Recipe("召喚の短杖", [("霊樹の木材", 1), ("紫水玉", 1)], LIGHT, WOOD, 7, {WOOD: (66, 74), GOLD: (33, "")},
               hq=("召喚の短杖改", "", ""), desc="（片手棍） 威力10\n召喚獣の能力+2\nLv52～ 召白",
               desynth="霊樹の木材"),
        Recipe("忍びの鎖帷子", [("星鉄塊", 2), ("霧麻布", 1)], FIRE, SMITH, 8, {SMITH: (72, 80), SEW: (25, "")},
               hq=("忍びの鎖帷子改", "", ""), desc="【胴】 防28 敏捷+4\nLv58～ 忍シ", desynth="星鉄塊"),
        Recipe("獣使いの鞭", [("翼竜革", 2), ("細銀線", 1)], EARTH, LEATHER, 8, {LEATHER: (72, 80), GOLD: (28, "")},
               hq=("獣使いの鞭改", "", ""), desc="（片手棍） 威力26\nペットの攻撃+5\nLv60～ 獣",
               desynth="翼竜革"),
        # A record whose reserved field carries text that must survive rewrites.
        Recipe("試作品の歯車", [("緋鉄塊", 1)], THUNDER, SMITH, 2, {SMITH: (15, 23)}, yield_=2,
               hq=("試作品の歯車 4", "", ""), desc="からくり仕掛けの部品。", stack=True, reserved="check"),
        # Sub-skill need only, main skill cap only.
        Recipe("双刃の槍斧", [("月輝鋼塊", 3), ("紅楓の木材", 2)], FIRE, SMITH, 6, {SMITH: ("", 58), WOOD: (35, "")},
               hq=("双刃の槍斧改", "", ""), desc="（両手斧） 威力44 間隔504\nLv48～ 戦竜暗", desynth="月輝鋼塊 2"),
        Recipe("吟遊詩人の帽子", [("紅絹布", 1), ("鳥の羽根", 2)], WIND, SEW, 5, {SEW: (44, 52)},
               hq=("吟遊詩人の帽子改", "", ""), desc="【頭】 防8 魅力+3\nLv40～ 吟", desynth="紅絹布"),
        Recipe("月輝鋼の刀", [("月輝鋼塊", 2), ("鮫の皮", 1)], FIRE, SMITH, 6, {SMITH: (53, 61), LEATHER: (21, "")},
               hq=("月輝鋼の刀改", "", ""), desc="（片手刀） 威力27 間隔227\nLv44～ 忍侍", desynth="月輝鋼塊"),
        Recipe("蒼鋼の大槌", [("蒼鋼塊", 3), ("樫の柄", 1)], FIRE, SMITH, 4, {SMITH: (35, 43)},
               hq=("蒼鋼の大槌改", "", ""), desc="（両手棍） 威力30 間隔402\nLv32～ 戦モ白", desynth="蒼鋼塊 2"),
        Recipe("白魔導士の腕輪", [("細銀線", 2), ("水晶石", 2)], LIGHT, GOLD, 4, {GOLD: (38, 46)},
               hq=("白魔導士の腕輪改", "", ""), desc="【両手】 防4 精神+3\nLv36～ 白", desynth="細銀線"),
        Recipe("暗黒騎士の兜", [("黒曜鋼塊", 2), ("翼竜革", 1)], FIRE, SMITH, 9, {SMITH: (86, 94), LEATHER: (55, "")},
               hq=("暗黒騎士の兜改", "", ""), desc="【頭】 防22 攻+6\nLv70～ 暗", rare=True, desynth="黒曜鋼塊"),
        Recipe("獣除けの鈴", [("錬金銀", 1)], THUNDER, GOLD, 2, {GOLD: (13, 21)}, hq=("", "", ""),
               desc="獣を遠ざける鈴の音。\n能力の低い獣には効果が高い。", stack=False),
    ]
    return out


# --------------------------------------------------------------------------
# Item attribute dictionary: (name, rare, ex, description with "/" for breaks).

BASE_MATERIALS = [
    ("湧き清水", "澄んだ山の湧き水。"),
    ("月見草", "月夜に咲く薬草。"),
    ("夢見茸", "眠気を誘う茸。"),
    ("霊樹の枝", "霊樹から落ちた枝。"),
    ("光苔", "暗がりでほのかに光る苔。"),
    ("碧玉", "深い緑色の宝石。"),
    ("銀苔", "銀色に輝く苔。"),
    ("竜の涙", "竜が流したと言われる雫。/とても珍しい。"),
    ("夜光石", "夜に光を放つ石。"),
    ("紅玉", "燃えるように赤い宝石。"),
    ("不死鳥の羽", "燃え尽きることのない羽。"),
    ("銀の砂", "銀を含む砂。"),
    ("苦艾", "苦みの強い薬草。"),
    ("雷晶石", "雷の力を宿した結晶。"),
    ("鳥の羽根", "ありふれた鳥の羽根。"),
    ("革紐", "丈夫な革の紐。"),
    ("樫の柄", "武器に付ける樫の柄。"),
    ("火薬", "扱いに注意が必要な粉。"),
    ("兎の皮", "柔らかな兎の皮。"),
    ("狼の皮", "灰色の狼の皮。"),
    ("大蜥蜴の皮", "硬い鱗に覆われた皮。"),
    ("翼竜の皮", "翼竜から剥いだ皮。"),
    ("鞣し液", "皮を鞣すための液。"),
    ("獣の骨", "獣の太い骨。"),
    ("狼の牙", "鋭い狼の牙。"),
    ("大角", "大きな獣の角。"),
    ("蜜蝋", "蜂の巣から取った蝋。"),
    ("大亀の甲羅", "大亀の硬い甲羅。"),
    ("竜の骨", "竜の骨。/非常に硬い。"),
    ("竜革の柄", "竜の革を巻いた柄。"),
    ("鮫の牙", "鮫の鋭い牙。"),
    ("鮫の皮", "ざらざらした鮫の皮。"),
    ("幻獣の角", "幻獣の角。/魔力を帯びている。"),
    ("金の砂", "金を含む砂。"),
    ("小麦粉", "小麦を挽いた粉。"),
    ("銀鱗魚", "銀色の鱗を持つ川魚。"),
    ("岩塩", "岩から取れる塩。"),
    ("魔鳥の肉", "魔鳥の引き締まった肉。"),
    ("雪解け水", "冷たい雪解け水。"),
    ("山苺", "山で採れる甘い苺。"),
    ("大海老", "大きな海老。"),
    ("香草", "香りの良い草。"),
    ("竜の肉", "滅多に手に入らない肉。"),
    ("黒胡椒", "刺激の強い香辛料。"),
    ("落ち葉", "森の落ち葉。"),
    ("苔の胞子", "苔を育てるための胞子。"),
    ("闇の宝珠", "闇の力を封じた宝珠。"),
    ("砥石の原石", "砥石に加工できる石。"),
    ("水晶石", "透き通った石。"),
    ("紫水玉", "紫色の小さな玉。"),
    ("虹彩石", "虹色に輝く石。"),
]

RARE_MATERIALS = {"竜の涙", "不死鳥の羽", "幻獣の角", "闇の宝珠", "竜の肉"}


def dictionary(recipes):
    lines = []
    seen = set()

    def add(name, rare, ex, desc):
        if name in seen:
            return
        seen.add(name)
        assert "," not in desc and "," not in name
        lines.append("%s,%d,%d,%s" % (name, 1 if rare else 0, 1 if ex else 0, desc))

    for r in recipes:
        if r.desc:
            add(r.name, r.rare, r.ex, r.desc.replace("\n", "/").replace("＞", "→"))
    for name, desc in BASE_MATERIALS:
        add(name, name in RARE_MATERIALS, False, desc)
    for metal, *_ in SMITH_TIERS:
        add(metal + "鉱", False, False, metal + "を含む鉱石。")
    for fibre in ("綿草", "霧麻", "紅蚕", "月影蚕", "星綿"):
        add(fibre, False, False, "糸の原料。")
    for wood, *_ in WOOD_TIERS:
        add(wood + "の原木", False, False, "切り出したままの原木。")
    return lines


def all_recipes():
    groups = [smithing(), sewing(), alchemy(), woodworking(), goldsmithing(), leathercraft(), bonecraft(),
              fishing(), cooking(), gardening(), special()]
    # Interleave the skills so that the file is not sorted by skill.
    out = []
    longest = max(len(g) for g in groups)
    for i in range(longest):
        for g in groups:
            if i < len(g):
                out.append(g[i])
    return out


def encode_lines(lines):
    return "".join(line + "\r\n" for line in lines).encode("cp932")


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    out_dir = sys.argv[1] if len(sys.argv) > 1 else os.path.join(here, "..", "samples")
    os.makedirs(out_dir, exist_ok=True)
    recipes = all_recipes()
    names = [r.name for r in recipes]
    duplicates = sorted({n for n in names if names.count(n) > 1})
    assert not duplicates, duplicates
    data_lines = [",".join(r.fields(i + 1)) for i, r in enumerate(recipes)]
    with open(os.path.join(out_dir, "vornik.txt"), "wb") as f:
        f.write(encode_lines(data_lines))
    with open(os.path.join(out_dir, "vornik.dat"), "wb") as f:
        f.write(encode_lines(dictionary(recipes)))
    print("%d recipes, %d dictionary entries" % (len(data_lines), len(dictionary(recipes))))


if __name__ == "__main__":
    main()
