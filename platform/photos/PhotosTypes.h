// The kinds the photo library sorts its assets and collections into (the platform's
// values).
#pragma once

enum class PHAssetMediaType { Unknown = 0, Image = 1, Video = 2, Audio = 3 };

enum class PHAssetCollectionType { Album = 1, SmartAlbum = 2, Moment = 3 };

enum class PHAssetCollectionSubtype {
    Any = 0x7fffffff,
    AlbumRegular = 2,
    SmartAlbumGeneric = 200,
    SmartAlbumPanoramas = 201,
    SmartAlbumVideos = 202,
    SmartAlbumFavorites = 203,
    SmartAlbumTimelapses = 204,
    SmartAlbumAllHidden = 205,
    SmartAlbumRecentlyAdded = 206,
    SmartAlbumBursts = 207,
    SmartAlbumSlomoVideos = 208,
    SmartAlbumUserLibrary = 209,
};
