"""Numbered-pinyin helpers shared by the word-list tools: valid syllables and tone-dot placement."""

import re

_SYLLABLES = """
a ai an ang ao
ba bai ban bang bao bei ben beng bi bian biao bie bin bing bo bu
ca cai can cang cao ce cen ceng cha chai chan chang chao che chen cheng chi chong chou chu chua
chuai chuan chuang chui chun chuo ci cong cou cu cuan cui cun cuo
da dai dan dang dao de dei den deng di dia dian diao die ding diu dong dou du duan dui dun duo
e ei en eng er
fa fan fang fei fen feng fo fou fu
ga gai gan gang gao ge gei gen geng gong gou gu gua guai guan guang gui gun guo
ha hai han hang hao he hei hen heng hong hou hu hua huai huan huang hui hun huo
ji jia jian jiang jiao jie jin jing jiong jiu ju juan jue jun
ka kai kan kang kao ke kei ken keng kong kou ku kua kuai kuan kuang kui kun kuo
la lai lan lang lao le lei leng li lia lian liang liao lie lin ling liu lo long lou lu luan lun
luo lv lve
ma mai man mang mao me mei men meng mi mian miao mie min ming miu mo mou mu
na nai nan nang nao ne nei nen neng ni nian niang niao nie nin ning niu nong nou nu nuan nuo nv nve
o ou
pa pai pan pang pao pei pen peng pi pian piao pie pin ping po pou pu
qi qia qian qiang qiao qie qin qing qiong qiu qu quan que qun
ran rang rao re ren reng ri rong rou ru rua ruan rui run ruo
sa sai san sang sao se sen seng sha shai shan shang shao she shei shen sheng shi shou shu shua
shuai shuan shuang shui shun shuo si song sou su suan sui sun suo
ta tai tan tang tao te teng ti tian tiao tie ting tong tou tu tuan tui tun tuo
wa wai wan wang wei wen weng wo wu
xi xia xian xiang xiao xie xin xing xiong xiu xu xuan xue xun
ya yan yang yao ye yi yin ying yo yong you yu yuan yue yun
za zai zan zang zao ze zei zen zeng zha zhai zhan zhang zhao zhe zhei zhen zheng zhi zhong zhou
zhu zhua zhuai zhuan zhuang zhui zhun zhuo zi zong zou zu zuan zui zun zuo
"""

VALID = frozenset(_SYLLABLES.split())

# One syllable in numbered notation: letters, one dot before the tone vowel, more letters, digit.
DOTTED = re.compile(r"^([a-z]*)\.([aeiouv])([a-z]*)([0-4])$")
PLAIN = re.compile(r"^([a-z]+)([0-4])$")


def tone_vowel_index(letters):
    """Index of the vowel that carries the tone mark: a or e first, then o, else the last vowel."""
    for v in "ae":
        if v in letters:
            return letters.index(v)
    if "o" in letters:
        return letters.index("o")
    for i in range(len(letters) - 1, -1, -1):
        if letters[i] in "iuv":
            return i
    return -1


def add_dot(plain):
    """'hao3' -> 'h.ao3'; raises ValueError on a syllable it cannot place."""
    m = PLAIN.match(plain)
    if not m:
        raise ValueError("not a numbered syllable: %r" % plain)
    letters, digit = m.groups()
    i = tone_vowel_index(letters)
    if i < 0:
        raise ValueError("no tone vowel in %r" % plain)
    return letters[:i] + "." + letters[i:] + digit


def syllables(numbered):
    """Split numbered pinyin into syllables at every tone digit, as the program does."""
    out, cur = [], ""
    for ch in numbered:
        cur += ch
        if ch.isdigit():
            out.append(cur.strip())
            cur = ""
    return out, cur.strip()
