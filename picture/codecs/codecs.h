#pragma once
// The codec singletons, one accessor per format, in the registry's order.
class CGraphicsCodec;

CGraphicsCodec& BmpCodec();
CGraphicsCodec& TgaCodec();
CGraphicsCodec& GifCodec();
CGraphicsCodec& PcxCodec();
CGraphicsCodec& PngCodec();
CGraphicsCodec& JpgCodec();
CGraphicsCodec& RleCodec();
CGraphicsCodec& TifCodec();
CGraphicsCodec& WmfCodec();
CGraphicsCodec& EmfCodec();
CGraphicsCodec& Os2Codec();
CGraphicsCodec& DibCodec();
CGraphicsCodec& ClpCodec();
CGraphicsCodec& IffCodec();
CGraphicsCodec& LbmCodec();
CGraphicsCodec& MacCodec();
CGraphicsCodec& PbmCodec();
CGraphicsCodec& PgmCodec();
CGraphicsCodec& PpmCodec();
CGraphicsCodec& PsdCodec();
CGraphicsCodec& CutCodec();
CGraphicsCodec& ZecCodec();
CGraphicsCodec& ZesCodec();
